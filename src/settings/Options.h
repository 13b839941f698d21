#pragma once

#include "controls/Controls.h"
#include "platform/Window.h"

#include <cstdint>
#include <string>

namespace twinfold
{

struct SyncSettings;
class WindowingServices;

// What the options dialog needs of the main window.
class OptionsOwner
{
public:
    // The settings file the dialog's creation reads its options from.
    virtual std::string defaultSettingsFile() const = 0;
    // The filter texts changed: the source list is read again and the type filter applied.
    virtual void filterTextsChanged() = 0;

protected:
    ~OptionsOwner() = default;
};

// The options dialog "Options": the include and exclude filter lists, the copy buffer size,
// auto-continue, the destination's time shift and the lookups a run keeps in flight. The two lists
// are editing copies; only OK turns them into the filter texts that the rest of the program uses
// and saves. The buffer size and auto-continue take effect at once.
class TOptionsbx : public Window
{
public:
    static constexpr int VK_RETURN = 13;
    static constexpr int VK_ESCAPE = 27;

    TOptionsbx(WindowingServices& services, SyncSettings& settings, OptionsOwner& owner);

    EditField EditInclude;
    EditField EditExclude;
    ListBox IncludeList;
    ListBox ExcludeList;
    // Mem32K, Mem128K, Mem256k, Mem512k, Mem1mb, in that order.
    RadioGroup CopyBuffer{{"32K (default)", "128K", "256K", "512K", "1 MB"}};
    CheckBox AutoContinue{"Auto-Continue thru errors and Log them "};
    // The hours the destination's times read late (negative: early), as a whole number.
    EditField EditTimeShift;
    // How many status lookups a run keeps in flight, as a whole number from 1.
    EditField EditJobs;

    void FormCreate();
    void AddIncludeClick();
    void AddExcludeClick();
    void EditIncludeKeyDown(int key);
    void EditExcludeKeyDown(int key);
    // A key that no control of the dialog handles itself; Escape presses "Clear".
    void FormKeyDown(int key);
    void IncludeListDblClick();
    void ExcludeListDblClick();
    void ClearClick();
    void Mem32KClick();
    void Mem128KClick();
    void Mem256kClick();
    void Mem512kClick();
    void Mem1mbClick();
    void AutoContinueClick();
    // The time shift field was edited: a whole number of hours within a day takes effect at
    // once, anything else gives the field back the setting in force.
    void EditTimeShiftChange();
    // The same for the number of lookups in flight, from 1 to MaxJobs.
    void EditJobsChange();
    void OkClick();

    // Empties both filter lists and fills them from the filter texts as last applied: the
    // exclude text first, then the include text.
    void loadFilterLists();

    // Shown modally by the main window; closed by OK or by the close box (which keeps the
    // edited lists but not as filter texts).
    void ShowModal() { Show(); }
    void closeBoxClicked() { Close(); }

    // The five buffer sizes of the radio buttons, in their order; 0 for an index outside them.
    static std::int32_t bufferSizeOf(int index);
    // Checks the radio button of a buffer size; a size of none of them leaves the buttons.
    void showBufferSize(std::int32_t size);
    // Shows a time shift read from a file or given for a run, and makes it the setting.
    void showTimeShift(std::int32_t hours);
    // Shows a number of lookups in flight read from a file, and makes it the setting.
    void showJobs(std::int32_t jobs);

private:
    void chooseBufferSize(int index);

    [[maybe_unused]] WindowingServices& m_services; // the window's services, unused so far
    SyncSettings& m_settings;
    OptionsOwner& m_owner;
};

} // namespace twinfold
