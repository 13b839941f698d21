#include "Controls.h"

#include <algorithm>

namespace twinfold
{

void EditField::setText(std::string text)
{
    if (text == m_text)
        return;
    m_text = std::move(text);
    textChanged.emit(m_text);
}

void Label::setText(std::string_view text)
{
    if (text == m_text)
        return;
    m_text.assign(text);
    textChanged.emit(m_text);
}

void CheckBox::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    checkedChanged.emit(m_checked);
    if (onClick)
        onClick();
}

void CheckBox::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    enabledChanged.emit(m_enabled);
}

void Gauge::setMinValue(int value)
{
    if (value == m_min)
        return;
    m_min = value;
    rangeChanged.emit(m_min, m_max);
    setProgress(m_progress);
}

void Gauge::setMaxValue(int value)
{
    if (value == m_max)
        return;
    m_max = value;
    rangeChanged.emit(m_min, m_max);
    setProgress(m_progress);
}

void Gauge::setProgress(int value)
{
    const int clamped = std::clamp(value, std::min(m_min, m_max), std::max(m_min, m_max));
    if (clamped == m_progress)
        return;
    m_progress = clamped;
    progressChanged.emit(m_progress);
}

int Gauge::percentDone() const
{
    if (m_max == m_min)
        return 0;
    return static_cast<int>(static_cast<std::int64_t>(m_progress - m_min) * 100 / (m_max - m_min));
}

void RadioGroup::setCheckedIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(m_captions.size()) || index == m_checked)
        return;
    m_checked = index;
    checkedChanged.emit(m_checked);
}

void ListBox::add(std::string item)
{
    insert(count(), std::move(item));
}

void ListBox::insert(int index, std::string item)
{
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, count()));
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    m_selected.insert(m_selected.begin() + static_cast<std::ptrdiff_t>(at), 0);
    inserted.emit(static_cast<int>(at));
    if (m_itemIndex >= static_cast<int>(at))
        changeItemIndex(m_itemIndex + 1);
}

void ListBox::remove(int index)
{
    if (index < 0 || index >= count())
        return;
    m_items.erase(m_items.begin() + index);
    m_selected.erase(m_selected.begin() + index);
    removed.emit(index);
    if (m_itemIndex >= count())
        changeItemIndex(count() - 1);
}

void ListBox::clear()
{
    if (m_items.empty() && m_itemIndex == -1)
        return;
    m_items.clear();
    m_selected.clear();
    m_itemIndex = -1;
    reset.emit();
}

void ListBox::assign(std::vector<std::string> items)
{
    const int itemIndex = items.empty() ? -1 : 0;
    // A walk re-reads the same lists again and again; a list that comes back unchanged (and
    // unselected) is no change a view has to redraw.
    if (items == m_items && itemIndex == m_itemIndex && selectedCount() == 0)
        return;
    m_items = std::move(items);
    m_selected.assign(m_items.size(), 0);
    m_itemIndex = itemIndex;
    reset.emit();
}

bool ListBox::selected(int index) const
{
    return index >= 0 && index < count() && m_selected[static_cast<std::size_t>(index)] != 0;
}

void ListBox::setSelected(int index, bool selected)
{
    if (index < 0 || index >= count())
        return;
    const std::uint8_t flag = selected ? 1 : 0;
    auto& current = m_selected[static_cast<std::size_t>(index)];
    if (current == flag)
        return;
    current = flag;
    selectionChanged.emit(index, selected);
}

int ListBox::selectedCount() const
{
    return static_cast<int>(std::count(m_selected.begin(), m_selected.end(), 1));
}

void ListBox::setItemIndex(int index)
{
    changeItemIndex((index >= 0 && index < count()) ? index : -1);
}

void ListBox::changeItemIndex(int index)
{
    if (index == m_itemIndex)
        return;
    m_itemIndex = index;
    currentChanged.emit(m_itemIndex);
}

void ComboBox::setItems(std::vector<std::string> items)
{
    if (items != m_items) {
        m_items = std::move(items);
        itemsChanged.emit();
    }
    setItemIndex(-1);
}

void ComboBox::setItemIndex(int index)
{
    const int chosen = (index >= 0 && index < static_cast<int>(m_items.size())) ? index : -1;
    if (chosen == m_itemIndex)
        return;
    m_itemIndex = chosen;
    itemIndexChanged.emit(m_itemIndex);
}

std::string ComboBox::text() const
{
    return m_itemIndex < 0 ? std::string() : m_items[static_cast<std::size_t>(m_itemIndex)];
}

} // namespace twinfold
