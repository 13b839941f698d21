#pragma once

#include "controls/Controls.h"
#include "engine/FileResult.h"
#include "platform/Signal.h"
#include "platform/Window.h"

#include <cstdint>
#include <string>
#include <vector>

namespace twinfold
{

class TSyncBox;

// The preview window "Preview": what a Sync started now would do, as the Sync command's own
// comparison found it in a dry run. It lists the files the Sync would copy, each with its reason
// and size, the files it would leave alone, and the directories it would make; from here the
// user starts the Sync or closes.
class TPreview : public Window
{
public:
    struct File {
        std::string path; // the source path
        FileReason reason;
        std::int64_t size;
    };

    TPreview();

    Label From;   // the source directory of the run
    Label To;     // its destination directory
    Label Totals; // "Would copy 3 files (12,345 bytes), leave 2 files alone and make 1 directory."

    const std::vector<File>& toCopy() const { return m_toCopy; }
    const std::vector<File>& leftAlone() const { return m_leftAlone; }
    const std::vector<std::string>& directories() const { return m_directories; }
    std::int64_t bytesToCopy() const { return m_bytes; }

    // A path as the lists show it: below the run's source (files) or destination (directories).
    std::string shownFile(const std::string& path) const;
    std::string shownDirectory(const std::string& path) const;

    // Empties the lists for a run from source to destination, and follows that run through the
    // progress window's announcements for as long as the connections live.
    [[nodiscard]] std::vector<Connection> follow(TSyncBox& syncBox, const std::string& source,
                                                 const std::string& destination);
    // The run is over: the totals are set and the views read the lists afresh.
    void finish();

    void SyncBtnClick();  // "Sync": closes; the main window then starts the Sync
    void CloseBtnClick(); // "Close", Escape and the close box
    bool syncChosen() const { return m_syncChosen; }

    // The lists were filled anew.
    Signal<> listsChanged;

private:
    std::vector<File> m_toCopy;
    std::vector<File> m_leftAlone;
    std::vector<std::string> m_directories;
    std::int64_t m_bytes = 0;
    bool m_syncChosen = false;
};

} // namespace twinfold
