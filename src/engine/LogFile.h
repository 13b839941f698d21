#pragma once

#include "platform/Signal.h"
#include "platform/Window.h"

#include <string>
#include <vector>

namespace twinfold
{

class WindowingServices;

// The three result lists and the log window "Twinfold Log". Every file a run examines ends in
// exactly one list; the lists only grow, across runs and batch runs, until Clear.
class TLogFilebx : public Window
{
public:
    using List = std::vector<std::string>;

    explicit TLogFilebx(WindowingServices& services);

    List FileSuccess; // copied
    List FileOld;     // not copied: the destination is not older
    List FileFailed;  // the copy failed
    // Why each entry of FileFailed failed, in the same order: for front ends that report it.
    List FailureReasons;

    // Appends a source path in its recorded form. The lists have no fixed capacity.
    void AddLog(List& list, const std::string& path);
    // Appends to FileFailed with the reason.
    void AddFailure(const std::string& path, const std::string& reason);

    void BitBtn2Click(); // "Clear": empties all three lists
    void BitBtn1Click(); // "OK": closes the window
    void SaveSuccessClick();
    void SaveOldClick();
    void SaveFailClick();

    // Writes a list to a file: each entry followed by CR LF, nothing else; throws
    // CommandError("Cannot create file " + path) when the file cannot be written.
    static void saveList(const List& list, const std::string& path);

    void ShowModal() { Show(); }

    // Every entry added, for front ends that report results as they come: the list, the entry.
    Signal<const List&, const std::string&> added;

private:
    void saveWithDialog(const List& list, const std::string& proposedName);

    WindowingServices& m_services;
};

} // namespace twinfold
