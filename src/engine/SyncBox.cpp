#include "SyncBox.h"

#include "platform/Windowing.h"

namespace twinfold
{

TSyncBox::TSyncBox(WindowingServices& services) : Window("TSyncBox"), m_services(services)
{
    Process.setText("Processing...");
}

void TSyncBox::SetFocus()
{
    if (visible())
        focusRequested.emit();
}

void TSyncBox::CancelClick()
{
    // The button's own result comes first; the question then decides.
    ModalResult = mrCancel;
    if (m_services.confirm(this, "Are you sure you wish to cancel?")) {
        ModalResult = mrCancel;
        Close();
    } else {
        ModalResult = mrRun;
    }
}

void TSyncBox::closeBoxClicked()
{
    if (running)
        CancelClick();
    else
        Close();
}

void TSyncBox::setFileStatus(const std::string& status, const std::string& sourcePath)
{
    Process.setText(status);
    fileStatus.emit(status, sourcePath);
}

void TSyncBox::setFileProgress(std::int64_t copied, std::int64_t size)
{
    if (copied == m_fileCopied && size == m_fileSize)
        return;
    m_fileCopied = copied;
    m_fileSize = size;
    fileProgress.emit(copied, size);
}

void TSyncBox::startPass(const std::string& from, const std::string& to)
{
    SyncDirFrom.setText(from);
    SyncDirTo.setText(to);
    passStarted.emit(from, to);
}

} // namespace twinfold
