#include "batch/BatchFile.h"

#include "platform/AtomicFile.h"
#include "platform/ErrorText.h"
#include "platform/IniDocument.h"
#include "platform/IniFile.h"
#include "platform/TreeRemoval.h"

namespace twinfold
{

std::vector<std::string> ReadBatchFile(const std::string& path)
{
    // One reading of the file for every entry: a list of thousands stays cheap.
    const auto values = IniFile::readSection(path, "Files");
    std::vector<std::string> entries;
    for (std::size_t n = 0;; ++n) {
        const auto value = values.find("file" + std::to_string(n));
        if (value == values.end() || value->second == "Done")
            break;
        entries.push_back(value->second);
    }
    return entries;
}

void WriteBatchFile(const std::string& path, const std::vector<std::string>& entries)
{
    if (entries.empty()) {
        // A file that cannot be removed is left as it is.
        static_cast<void>(removeEntry(path));
        return;
    }
    std::string contents = "[Files]\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // Stored as a settings value is, so that a name with a blank at either end comes back
        // as it was and a line break cannot split the entry.
        contents += "File" + std::to_string(i) + "=" + IniDocument::storedValue(entries[i]) + "\n";
    }
    if (!replaceFileContents(path, contents))
        throw CommandError("Unable to write to " + path);
}

} // namespace twinfold
