#include "SyncBox.h"

#include "platform/Windowing.h"

namespace twinfold
{

TSyncBox::TSyncBox(WindowingServices& services) : m_services(services)
{
    Process.setText("Processing...");
}

void TSyncBox::SetFocus()
{
    if (m_visible && onFocus)
        onFocus();
}

void TSyncBox::CancelClick()
{
    // The button's own result comes first; the question then decides.
    ModalResult = mrCancel;
    if (m_services.confirm("Are you sure you wish to cancel?")) {
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
    if (onFileStatus)
        onFileStatus(status, sourcePath);
}

} // namespace twinfold
