#include "LogFile.h"

#include "platform/ErrorText.h"
#include "platform/EscapedName.h"
#include "platform/PathRules.h"
#include "platform/Windowing.h"

#include <fstream>

namespace twinfold
{

TLogFilebx::TLogFilebx(WindowingServices& services) : Window("TLogFilebx"), m_services(services) {}

void TLogFilebx::AddLog(List& list, const std::string& path)
{
    list.push_back(recordedPath(path));
    // Kept in step with FileFailed, whoever appends to it.
    if (&list == &FileFailed)
        FailureReasons.emplace_back();
    added.emit(list, list.back());
}

void TLogFilebx::AddFailure(const std::string& path, const std::string& reason)
{
    AddLog(FileFailed, path);
    FailureReasons.back() = reason;
}

void TLogFilebx::BitBtn2Click()
{
    FileSuccess.clear();
    FileFailed.clear();
    FailureReasons.clear();
    FileOld.clear();
}

void TLogFilebx::BitBtn1Click()
{
    Close();
}

void TLogFilebx::SaveSuccessClick()
{
    saveWithDialog(FileSuccess, "TFSuccess.txt");
}

void TLogFilebx::SaveOldClick()
{
    saveWithDialog(FileOld, "TFOlder.txt");
}

void TLogFilebx::SaveFailClick()
{
    saveWithDialog(FileFailed, "TFFailed.txt");
}

void TLogFilebx::saveWithDialog(const List& list, const std::string& proposedName)
{
    FileDialogOptions options;
    options.fileName = proposedName;
    options.defaultExtension = "txt";
    options.filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    options.confirmOverwrite = true;
    options.pathMustExist = true;
    const auto path = m_services.saveFileDialog(options);
    if (path)
        saveList(list, *path);
}

void TLogFilebx::saveList(const List& list, const std::string& path)
{
    std::string text;
    // A name holding a line break would otherwise read as two entries.
    for (const auto& entry : list) {
        text += escapedName(entry);
        text += "\r\n";
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file)
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file)
        throw CommandError("Cannot create file " + path);
}

} // namespace twinfold
