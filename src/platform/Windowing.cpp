#include "Windowing.h"

#include "ErrorText.h"

namespace twinfold
{

void WindowingServices::showMessage(const std::string& text)
{
    messageBox(MessageForm::Plain, ApplicationTitle, text);
}

bool WindowingServices::confirm(const std::string& text)
{
    return messageBox(MessageForm::Confirmation, "Confirm", text) == Answer::Yes;
}

bool WindowingServices::warningYesNo(const std::string& text)
{
    return messageBox(MessageForm::Warning, "Warning", text) == Answer::Yes;
}

void WindowingServices::information(const std::string& text)
{
    messageBox(MessageForm::Information, "Information", text);
}

void WindowingServices::errorReport(const std::string& text)
{
    messageBox(MessageForm::Error, ApplicationTitle, errorReportText(text));
}

} // namespace twinfold
