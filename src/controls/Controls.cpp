#include "Controls.h"

#include <algorithm>

namespace twinfold
{

void CheckBox::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    if (onClick)
        onClick();
}

void Gauge::setMinValue(int value)
{
    m_min = value;
    setProgress(m_progress);
}

void Gauge::setMaxValue(int value)
{
    m_max = value;
    setProgress(m_progress);
}

void Gauge::setProgress(int value)
{
    m_progress = std::clamp(value, std::min(m_min, m_max), std::max(m_min, m_max));
}

int Gauge::percentDone() const
{
    if (m_max == m_min)
        return 0;
    return static_cast<int>(static_cast<std::int64_t>(m_progress - m_min) * 100 / (m_max - m_min));
}

void RadioGroup::setCheckedIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(m_captions.size()))
        m_checked = index;
}

void ListBox::add(std::string item)
{
    m_items.push_back(std::move(item));
    m_selected.push_back(0);
}

void ListBox::insert(int index, std::string item)
{
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, count()));
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    m_selected.insert(m_selected.begin() + static_cast<std::ptrdiff_t>(at), 0);
    if (m_itemIndex >= static_cast<int>(at))
        ++m_itemIndex;
}

void ListBox::remove(int index)
{
    if (index < 0 || index >= count())
        return;
    m_items.erase(m_items.begin() + index);
    m_selected.erase(m_selected.begin() + index);
    if (m_itemIndex >= count())
        m_itemIndex = count() - 1;
}

void ListBox::clear()
{
    m_items.clear();
    m_selected.clear();
    m_itemIndex = -1;
}

void ListBox::assign(std::vector<std::string> items)
{
    m_items = std::move(items);
    m_selected.assign(m_items.size(), 0);
    m_itemIndex = m_items.empty() ? -1 : 0;
}

bool ListBox::selected(int index) const
{
    return index >= 0 && index < count() && m_selected[static_cast<std::size_t>(index)] != 0;
}

void ListBox::setSelected(int index, bool selected)
{
    if (index >= 0 && index < count())
        m_selected[static_cast<std::size_t>(index)] = selected ? 1 : 0;
}

int ListBox::selectedCount() const
{
    return static_cast<int>(std::count(m_selected.begin(), m_selected.end(), 1));
}

void ListBox::setItemIndex(int index)
{
    m_itemIndex = (index >= 0 && index < count()) ? index : -1;
}

void ComboBox::setItems(std::vector<std::string> items)
{
    m_items = std::move(items);
    m_itemIndex = -1;
}

void ComboBox::setItemIndex(int index)
{
    m_itemIndex = (index >= 0 && index < static_cast<int>(m_items.size())) ? index : -1;
}

std::string ComboBox::text() const
{
    return m_itemIndex < 0 ? std::string() : m_items[static_cast<std::size_t>(m_itemIndex)];
}

} // namespace twinfold
