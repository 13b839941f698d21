#include "QtServices.h"

#include "HelpWindow.h"
#include "InputDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace twinfold
{

namespace
{

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" -> one Qt filter per description/mask pair.
QStringList nameFilters(const std::string& filter)
{
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        masks.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The description already names the masks; Qt reads the masks from the parentheses.
        QString description = parts[i];
        const qsizetype open = description.indexOf(QLatin1Char('('));
        if (open >= 0)
            description.truncate(open);
        filters << description.trimmed() + QStringLiteral(" (") + masks + QLatin1Char(')');
    }
    return filters;
}

} // namespace

QtServices::QtServices() : m_help(std::make_unique<HelpWindow>())
{
    m_cursorRestore.setSingleShot(true);
    m_cursorRestore.setInterval(50);
    QObject::connect(&m_cursorRestore, &QTimer::timeout, [this] { restoreCursor(); });
}

QtServices::~QtServices()
{
    m_busyDepth = 0;
    restoreCursor();
}

void QtServices::restoreCursor()
{
    if (m_busyDepth > 0 || !m_cursorShown)
        return;
    m_cursorShown = false;
    QApplication::restoreOverrideCursor();
}

void QtServices::registerView(const Window& model, QWidget* view)
{
    m_views[&model] = view;
}

QWidget* QtServices::viewOf(const Window* owner) const
{
    if (owner) {
        auto found = m_views.find(owner);
        if (found != m_views.end() && found->second)
            return found->second;
    }
    return m_mainView;
}

int QtServices::runDialog(QDialog& dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialogHook)
        QTimer::singleShot(0, &dialog, [this, &dialog] { dialogHook(dialog); });
    const int result = dialog.exec();
    returnFocus(dialog.parentWidget());
    return result;
}

void QtServices::returnFocus(QWidget* owner)
{
    // A window manager gives the keyboard back to the owner when a modal window closes; without
    // one (a bare X server, a kiosk session) the keys would go nowhere, so it is asked for.
    if (owner && owner->isVisible())
        owner->window()->activateWindow();
}

Answer QtServices::messageBox(const Window* owner, MessageForm form, const std::string& caption,
                              const std::string& text)
{
    if (form == MessageForm::Notice) {
        showNotice(owner, caption, text);
        return Answer::Ok;
    }
    QMessageBox box(viewOf(owner));
    box.setWindowTitle(qs(caption));
    box.setText(qs(text));
    switch (form) {
    case MessageForm::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageForm::Information:
    case MessageForm::Notice:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageForm::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageForm::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageForm::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    const bool question = form == MessageForm::Confirmation || form == MessageForm::Warning;
    QPushButton* yes = nullptr;
    if (question) {
        yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
    } else {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    runDialog(box);
    if (!question)
        return Answer::Ok;
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

void QtServices::showNotice(const Window* owner, const std::string& caption,
                            const std::string& text)
{
    // Not modal: a run, an unattended batch above all, goes on while the user reads it.
    auto* box = new QMessageBox(QMessageBox::Information, qs(caption), qs(text), QMessageBox::Ok,
                                viewOf(owner));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    if (dialogHook)
        QTimer::singleShot(0, box, [this, box] { dialogHook(*box); });
}

std::optional<std::string> QtServices::inputBox(const Window* owner, const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initialText)
{
    InputDialog dialog(viewOf(owner));
    dialog.setWindowTitle(qs(caption));
    dialog.prompt->setText(qs(prompt));
    dialog.edit->setText(qs(initialText));
    dialog.edit->selectAll();
    if (runDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.edit->text().toStdString();
}

std::optional<std::string> QtServices::fileDialog(const Window* owner,
                                                  const FileDialogOptions& options, bool save)
{
    QFileDialog dialog(viewOf(owner), qs(options.title));
    // The toolkit's own dialog, so that every designed option holds on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(options.fileMustExist && !save ? QFileDialog::ExistingFile
                                                      : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    const QStringList filters = nameFilters(options.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(options.filterIndex, 1, int(filters.size())) - 1;
        dialog.selectNameFilter(filters[index]);
    }
    if (!options.defaultExtension.empty())
        dialog.setDefaultSuffix(qs(options.defaultExtension));
    if (!options.initialDirectory.empty())
        dialog.setDirectory(qs(options.initialDirectory));
    if (!options.fileName.empty())
        dialog.selectFile(qs(options.fileName));
    for (;;) {
        if (runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QFileInfo chosen(dialog.selectedFiles().constFirst());
        // The dialog lets a typed path through; the designed checks are made here.
        if (options.pathMustExist && !chosen.dir().exists()) {
            messageBox(owner, MessageForm::Plain, ApplicationTitle,
                       "Path does not exist: " + chosen.path().toStdString());
            continue;
        }
        if (options.fileMustExist && !chosen.exists()) {
            messageBox(owner, MessageForm::Plain, ApplicationTitle,
                       "File not found: " + chosen.filePath().toStdString());
            continue;
        }
        return chosen.absoluteFilePath().toStdString();
    }
}

std::optional<std::string> QtServices::openFileDialog(const Window* owner,
                                                      const FileDialogOptions& options)
{
    return fileDialog(owner, options, false);
}

std::optional<std::string> QtServices::saveFileDialog(const Window* owner,
                                                      const FileDialogOptions& options)
{
    return fileDialog(owner, options, true);
}

void QtServices::showModal(Window& window)
{
    QWidget* view = viewOf(&window);
    if (!view || view == m_mainView)
        return;
    QEventLoop loop;
    Connection closing = window.closed.connect([&loop] { loop.quit(); });
    view->setWindowModality(Qt::ApplicationModal);
    window.Show();
    view->show();
    if (auto* dialog = qobject_cast<QDialog*>(view); dialog && dialogHook)
        QTimer::singleShot(0, dialog, [this, dialog] { dialogHook(*dialog); });
    if (window.visible())
        loop.exec();
    view->hide();
    returnFocus(view->parentWidget());
}

void QtServices::processPendingEvents()
{
    // A run polls once per file. Asking the display for events at every poll would cost a run
    // of small files more than its copying; a click or a key waits at most a few milliseconds
    // for the next poll that goes through.
    if (m_sincePolled.isValid() && m_sincePolled.elapsed() < PollIntervalMs)
        return;
    QCoreApplication::processEvents();
    m_sincePolled.start();
}

void QtServices::setBusyCursor(bool busy)
{
    // Nested busy work keeps the outer cursor. The normal cursor comes back a moment after the
    // last busy work ends: a Sync All is busy once per directory, and changing every window's
    // cursor twice per directory would cost a run of small directories more than its copying.
    if (busy) {
        ++m_busyDepth;
        m_cursorRestore.stop();
        if (!m_cursorShown) {
            m_cursorShown = true;
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    } else if (m_busyDepth > 0 && --m_busyDepth == 0) {
        m_cursorRestore.start();
    }
}

void QtServices::showHelpContents()
{
    m_help->showTopic(0);
}

void QtServices::showHelpTopic(int topic)
{
    m_help->showTopic(topic);
}

void QtServices::closeHelp()
{
    m_help->close();
}

} // namespace twinfold
