#include "Windowing.h"

#include "ErrorText.h"

namespace twinfold
{

void WindowingServices::showMessage(const Window* owner, const std::string& text)
{
    messageBox(owner, MessageForm::Plain, ApplicationTitle, text);
}

bool WindowingServices::confirm(const Window* owner, const std::string& text)
{
    return messageBox(owner, MessageForm::Confirmation, "Confirm", text) == Answer::Yes;
}

bool WindowingServices::warningYesNo(const Window* owner, const std::string& text)
{
    return messageBox(owner, MessageForm::Warning, "Warning", text) == Answer::Yes;
}

void WindowingServices::information(const Window* owner, const std::string& text)
{
    messageBox(owner, MessageForm::Information, "Information", text);
}

void WindowingServices::errorReport(const Window* owner, const std::string& text)
{
    messageBox(owner, MessageForm::Error, ApplicationTitle, errorReportText(text));
}

void WindowingServices::errorReport(const Window* owner, const std::exception& failure)
{
    messageBox(owner, MessageForm::Error, ApplicationTitle, errorReportText(failure));
}

void WindowingServices::notice(const std::string& text)
{
    messageBox(nullptr, MessageForm::Notice, ApplicationTitle, text);
}

void WindowingServices::remark(const std::string& text)
{
    messageBox(nullptr, MessageForm::Remark, ApplicationTitle, text);
}

} // namespace twinfold
