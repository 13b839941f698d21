#include "settings/Options.h"

#include "app/Application.h"
#include "platform/IniDocument.h"
#include "settings/FilterText.h"
#include "settings/SettingsStorage.h"

#include <array>

namespace twinfold
{

namespace
{

constexpr std::array<std::int32_t, 5> BufferSizes{32768, 131072, 262144, 524288, 1048576};

// The entry is taken exactly as typed: no trimming and no test against the other entries, and
// the field keeps its text so that the same mask can be added again at once.
void addEntry(const EditField& field, ListBox& list)
{
    if (!field.text.empty())
        list.add(field.text);
}

// Only the entry that is both current and selected goes: a current item the user has
// deselected is not a choice to remove it.
void removeSelectedEntry(ListBox& list)
{
    const int index = list.itemIndex();
    if (index >= 0 && list.selected(index))
        list.remove(index);
}

} // namespace

TOptionsbx::TOptionsbx(WindowingServices& services, Application& app)
    : m_services(services), m_app(app)
{
    CopyBuffer.setCheckedIndex(0);
    // Every change of the box, the program's own included, keeps the setting in step with it.
    AutoContinue.onClick = [this] { AutoContinueClick(); };
}

std::int32_t TOptionsbx::bufferSizeOf(int index)
{
    if (index < 0 || index >= static_cast<int>(BufferSizes.size()))
        return 0;
    return BufferSizes[static_cast<std::size_t>(index)];
}

void TOptionsbx::FormCreate()
{
    SyncSettings& settings = m_app.Settings;
    const StoredSettings stored = readSettings(IniDocument::load(m_app.Main.defaultSettingsFile()),
                                               SettingsRead::OptionsCreation);
    settings.Exclude = stored.Exclude;
    settings.Include = stored.Include;
    settings.CopyBuffer = stored.CopyBuffer;
    setChunkSizeForm(CopyBuffer, settings.CopyBuffer);
    const bool autoContinue = stored.AutoContinue;
    AutoContinue.setChecked(autoContinue);
    // The box may already show the state read, and then its handler does not run.
    settings.AutoContinue = autoContinue;

    loadFilterLists();
}

void TOptionsbx::loadFilterLists()
{
    std::vector<std::string> entries;
    parseString(m_app.Settings.Exclude, entries);
    ExcludeList.assign(std::move(entries));
    ExcludeList.setItemIndex(-1);
    entries.clear();
    parseString(m_app.Settings.Include, entries);
    IncludeList.assign(std::move(entries));
    IncludeList.setItemIndex(-1);
}

void TOptionsbx::AddIncludeClick()
{
    addEntry(EditInclude, IncludeList);
    focusedControl = "EditInclude";
}

void TOptionsbx::AddExcludeClick()
{
    addEntry(EditExclude, ExcludeList);
    focusedControl = "EditExclude";
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
    m_app.Settings.CopyBuffer = bufferSizeOf(index);
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
    m_app.Settings.AutoContinue = AutoContinue.checked();
}

void TOptionsbx::OkClick()
{
    m_app.Settings.Include = joinFilter(IncludeList.items());
    m_app.Settings.Exclude = joinFilter(ExcludeList.items());
    m_app.Main.FileList.update();
    // A "Custom" choice takes up the new texts only when the type filter is applied again.
    m_app.Main.EditFilterChange();
    m_visible = false;
}

} // namespace twinfold
