#include "settings/Options.h"

#include "platform/IniDocument.h"
#include "settings/FilterText.h"
#include "settings/SettingsStorage.h"
#include "settings/SyncSettings.h"

#include <array>
#include <charconv>
#include <optional>

namespace twinfold
{

namespace
{

constexpr std::array<std::int32_t, 5> BufferSizes{32768, 131072, 262144, 524288, 1048576};

// The entry is taken exactly as typed: no trimming and no test against the other entries, and
// the field keeps its text so that the same mask can be added again at once.
void addEntry(const EditField& field, ListBox& list)
{
    if (!field.text().empty())
        list.add(field.text());
}

// Only the entry that is both current and selected goes: a current item the user has
// deselected is not a choice to remove it.
void removeSelectedEntry(ListBox& list)
{
    const int index = list.itemIndex();
    if (index >= 0 && list.selected(index))
        list.remove(index);
}

// A whole number as typed in a field, a leading "+" allowed; nothing for any other text.
std::optional<std::int32_t> wholeNumber(const std::string& text)
{
    std::int32_t number = 0;
    const char* first = text.data();
    if (!text.empty() && text.front() == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || first == end)
        return std::nullopt;
    return number;
}

void showNumber(EditField& field, std::int32_t& setting, std::int32_t value)
{
    setting = value;
    field.setText(std::to_string(value));
}

// A number typed into a field is taken where its rule keeps it as typed; otherwise the field
// shows the setting in force again.
void takeNumber(EditField& field, std::int32_t& setting, std::int32_t (*usable)(std::int32_t))
{
    const auto typed = wholeNumber(field.text());
    if (typed && usable(*typed) == *typed)
        setting = *typed;
    else
        field.setText(std::to_string(setting));
}

} // namespace

TOptionsbx::TOptionsbx(WindowingServices& services, SyncSettings& settings, OptionsOwner& owner)
    : Window("TOptionsbx"), m_services(services), m_settings(settings), m_owner(owner)
{
    CopyBuffer.setCheckedIndex(0);
    EditTimeShift.setText("0");
    EditJobs.setText(std::to_string(DefaultJobs));
    // Every change of the box, the program's own included, keeps the setting in step with it.
    AutoContinue.onClick = [this] { AutoContinueClick(); };
}

std::int32_t TOptionsbx::bufferSizeOf(int index)
{
    if (index < 0 || index >= static_cast<int>(BufferSizes.size()))
        return 0;
    return BufferSizes[static_cast<std::size_t>(index)];
}

void TOptionsbx::showBufferSize(std::int32_t size)
{
    setChunkSizeForm(CopyBuffer, size);
}

void TOptionsbx::FormCreate()
{
    SyncSettings& settings = m_settings;
    const StoredSettings stored = readSettings(IniDocument::load(m_owner.defaultSettingsFile()),
                                               SettingsRead::OptionsCreation);
    settings.Exclude = stored.Exclude;
    settings.Include = stored.Include;
    settings.CopyBuffer = stored.CopyBuffer;
    showBufferSize(settings.CopyBuffer);
    const bool autoContinue = stored.AutoContinue;
    AutoContinue.setChecked(autoContinue);
    // The box may already show the state read, and then its handler does not run.
    settings.AutoContinue = autoContinue;
    showTimeShift(stored.TimeShift);
    showJobs(stored.Jobs);

    loadFilterLists();
}

void TOptionsbx::loadFilterLists()
{
    std::vector<std::string> entries;
    parseString(m_settings.Exclude, entries);
    ExcludeList.assign(std::move(entries));
    ExcludeList.setItemIndex(-1);
    entries.clear();
    parseString(m_settings.Include, entries);
    IncludeList.assign(std::move(entries));
    IncludeList.setItemIndex(-1);
}

void TOptionsbx::AddIncludeClick()
{
    addEntry(EditInclude, IncludeList);
    EditInclude.setFocus();
}

void TOptionsbx::AddExcludeClick()
{
    addEntry(EditExclude, ExcludeList);
    EditExclude.setFocus();
}

void TOptionsbx::EditIncludeKeyDown(int key)
{
    // Enter adds here as it does in the exclude field: with no default button in the dialog,
    // a user who types a mask and presses Enter expects it in the list, not silently ignored.
    if (key == VK_RETURN)
        AddIncludeClick();
    else
        FormKeyDown(key);
}

void TOptionsbx::EditExcludeKeyDown(int key)
{
    if (key == VK_RETURN)
        AddExcludeClick();
    else
        FormKeyDown(key);
}

void TOptionsbx::FormKeyDown(int key)
{
    // Escape presses "Clear" wherever the focus is; it never closes the dialog.
    if (key == VK_ESCAPE)
        ClearClick();
}

void TOptionsbx::IncludeListDblClick()
{
    removeSelectedEntry(IncludeList);
}

void TOptionsbx::ExcludeListDblClick()
{
    removeSelectedEntry(ExcludeList);
}

void TOptionsbx::ClearClick()
{
    IncludeList.clear();
    ExcludeList.clear();
}

void TOptionsbx::chooseBufferSize(int index)
{
    // Takes effect at once, OK or not: the next copy uses the new size.
    m_settings.CopyBuffer = bufferSizeOf(index);
    CopyBuffer.setCheckedIndex(index);
}

void TOptionsbx::Mem32KClick()
{
    chooseBufferSize(0);
}

void TOptionsbx::Mem128KClick()
{
    chooseBufferSize(1);
}

void TOptionsbx::Mem256kClick()
{
    chooseBufferSize(2);
}

void TOptionsbx::Mem512kClick()
{
    chooseBufferSize(3);
}

void TOptionsbx::Mem1mbClick()
{
    chooseBufferSize(4);
}

void TOptionsbx::AutoContinueClick()
{
    m_settings.AutoContinue = AutoContinue.checked();
}

void TOptionsbx::showTimeShift(std::int32_t hours)
{
    showNumber(EditTimeShift, m_settings.TimeShift, usableTimeShift(hours));
}

void TOptionsbx::EditTimeShiftChange()
{
    takeNumber(EditTimeShift, m_settings.TimeShift, usableTimeShift);
}

void TOptionsbx::showJobs(std::int32_t jobs)
{
    showNumber(EditJobs, m_settings.Jobs, usableJobs(jobs));
}

void TOptionsbx::EditJobsChange()
{
    takeNumber(EditJobs, m_settings.Jobs, usableJobs);
}

void TOptionsbx::OkClick()
{
    m_settings.Include = joinFilter(IncludeList.items());
    m_settings.Exclude = joinFilter(ExcludeList.items());
    // A "Custom" choice takes up the new texts only when the type filter is applied again.
    m_owner.filterTextsChanged();
    Close();
}

} // namespace twinfold
