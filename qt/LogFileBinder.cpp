#include "LogFileBinder.h"

#include "LogFileView.h"

#include "app/Application.h"

namespace twinfold
{

namespace
{

void fill(QListWidget* list, const TLogFilebx::List& entries)
{
    QStringList names;
    names.reserve(qsizetype(entries.size()));
    for (const std::string& entry : entries)
        names << QString::fromStdString(entry);
    list->clear();
    list->addItems(names);
}

} // namespace

LogFileBinder::LogFileBinder(Application& app, LogFileView& view)
    : QObject(&view), m_app(app), m_log(app.LogFilebx), m_view(view)
{
    // The lists grow by the thousand during a run; the window reads them when it is shown.
    m_connections.push_back(m_log.shown.connect([this] { refill(); }));
    m_connections.push_back(
        m_log.added.connect([this](const TLogFilebx::List& list, const std::string& path) {
            if (!m_view.isVisible())
                return;
            QListWidget* widget = &list == &m_log.FileSuccess ? m_view.FileSuccess
                                  : &list == &m_log.FileOld   ? m_view.FileOld
                                                              : m_view.FileFailed;
            widget->addItem(QString::fromStdString(path));
        }));
    auto button = [this](QPushButton* widget, void (TLogFilebx::*handler)()) {
        connect(widget, &QPushButton::clicked, this, [this, handler] {
            m_app.command([&log = m_log, handler] { (log.*handler)(); });
            refill();
        });
    };
    button(view.SaveSuccess, &TLogFilebx::SaveSuccessClick);
    button(view.SaveOld, &TLogFilebx::SaveOldClick);
    button(view.SaveFail, &TLogFilebx::SaveFailClick);
    button(view.BitBtn2, &TLogFilebx::BitBtn2Click);
    button(view.BitBtn1, &TLogFilebx::BitBtn1Click);
    // Escape and the close box close the window as OK does; the lists stay.
    connect(&view, &QDialog::rejected, this, [this] { m_log.Close(); });
}

void LogFileBinder::refill()
{
    fill(m_view.FileSuccess, m_log.FileSuccess);
    fill(m_view.FileOld, m_log.FileOld);
    fill(m_view.FileFailed, m_log.FileFailed);
}

} // namespace twinfold
