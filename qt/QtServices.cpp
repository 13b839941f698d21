#include "QtServices.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

// Resources in a static library are registered by hand.
static void initHelpResources()
{
    Q_INIT_RESOURCE(help);
}

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

// A dialog's frame: its caption and a close box, neither a minimise nor a maximise button. The
// window manager draws it from these hints where it honours them; openbox draws its own buttons
// on every managed window whatever its type, and no hint of a dialog's changes that.
constexpr Qt::WindowFlags DialogFrame =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The program's windows that stay above every other while they are up: the progress window.
QList<QPointer<QWidget>> windowsOnTop(const QWidget* except)
{
    QList<QPointer<QWidget>> onTop;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != except && window->isVisible() &&
            window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            onTop << window;
    }
    return onTop;
}

void setOnTop(QWidget& window, bool onTop)
{
    // Changing a window's flags re-creates its native window: only when they differ.
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        window.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

// Raised and given the keyboard. A window manager may refuse the activation of a window it did
// not see the user ask for; raising and activating it once it is mapped is what every manager
// honours, and without a manager it is the only way a window gets the keyboard.
void bringToFront(QWidget& window)
{
    window.raise();
    window.activateWindow();
}

// Beside the anchor where the screen has room, else over its edge.
void placeBeside(QWidget& window, const QWidget& anchor)
{
    const QRect area = anchor.screen()->availableGeometry();
    const QRect beside = anchor.frameGeometry();
    // The frame the window manager adds is not known before the window is shown: a margin
    // stands for it.
    constexpr int FrameMargin = 8;
    const int width = window.width() + FrameMargin;
    int x = beside.right() + 1;
    if (x + width > area.right() + 1)
        x = beside.left() - width;
    if (x < area.left())
        x = area.right() + 1 - width;
    const int y = std::clamp(beside.top(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - window.height()));
    window.move(std::max(x, area.left()), y);
}

// The help pages compiled into the program, by topic number as the windows ask for them.
const char* const TopicPages[] = {
    "contents.html",     // 0
    "main.html",         // 1 the main window
    "progress.html",     // 2 the progress window and the log
    "settings.html",     // 3 settings files and the options dialog
    "batch-editor.html", // 4
    "batch-files.html",  // 5
    "command-line.html", // 6
};

QUrl topicUrl(int topic)
{
    const char* page =
        topic >= 0 && topic < int(std::size(TopicPages)) ? TopicPages[topic] : TopicPages[0];
    return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(page));
}

// Contents and Back above the page. The help is read beside the program; Escape puts it away
// as it does a dialog.
void buildHelpWindow(QWidget& window, QTextBrowser* pages)
{
    initHelpResources();
    window.setWindowTitle(QStringLiteral("Twinfold Help"));
    window.resize(560, 480);
    auto* contents = new QPushButton(QStringLiteral("&Contents"));
    auto* back = new QPushButton(QStringLiteral("&Back"));
    QObject::connect(contents, &QPushButton::clicked, pages,
                     [pages] { pages->setSource(topicUrl(0)); });
    QObject::connect(back, &QPushButton::clicked, pages, &QTextBrowser::backward);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(&window);
    layout->addLayout(buttons);
    layout->addWidget(pages);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(close, &QShortcut::activated, &window, &QWidget::close);
}

} // namespace

QtServices::QtServices()
    : m_help(std::make_unique<QWidget>(nullptr, Qt::Window)), m_helpPages(new QTextBrowser)
{
    buildHelpWindow(*m_help, m_helpPages);

    m_cursorRestore.setSingleShot(true);
    m_cursorRestore.setInterval(50);
    QObject::connect(&m_cursorRestore, &QTimer::timeout,
                     [] { QApplication::restoreOverrideCursor(); });
    // The menu bar and the menus hold the focus only while they are worked from the keyboard.
    // The timer, a member, ends the connection with the services.
    QObject::connect(qApp, &QApplication::focusChanged, &m_cursorRestore,
                     [this](QWidget*, QWidget* now) {
                         if (now && !qobject_cast<QMenuBar*>(now) && !qobject_cast<QMenu*>(now))
                             m_lastFocus[now->window()] = now;
                     });
}

QtServices::~QtServices()
{
    if (m_busyDepth > 0 || m_cursorRestore.isActive())
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

void QtServices::showMainView()
{
    if (!m_mainView || m_mainView->isVisible())
        return;
    if (!m_mainView->testAttribute(Qt::WA_Moved)) {
        // Centred on the screen when first shown, unless a place was kept from the last start.
        if (!m_mainView->testAttribute(Qt::WA_Resized))
            m_mainView->adjustSize();
        const QRect area = m_mainView->screen()->availableGeometry();
        m_mainView->move(area.center() - m_mainView->rect().center());
    }
    m_mainView->show();
}

QWidget* QtServices::dialogOwner(const Window* owner)
{
    // A box is centred on the window it belongs to, so that window must be on screen first: a
    // failure at start-up waits for the main window, and one of a window that has closed
    // meanwhile (the progress window) appears over the main window.
    showMainView();
    QWidget* view = viewOf(owner);
    if (view && !view->isVisible())
        view = m_mainView;
    return view;
}

int QtServices::runDialog(QDialog& dialog)
{
    // Above the progress window too, which stays above every other window: a box hidden
    // behind it would leave the user a Cancel button that does nothing.
    const QList<QPointer<QWidget>> onTop = windowsOnTop(&dialog);
    // The desktop's own file chooser brings its own frame.
    if (!qobject_cast<QFileDialog*>(&dialog)) {
        dialog.setWindowFlags(DialogFrame);
        setOnTop(dialog, !onTop.isEmpty());
    }
    dialog.setWindowModality(Qt::ApplicationModal);
    QTimer::singleShot(0, &dialog, [this, &dialog] {
        bringToFront(dialog);
        if (dialogHook)
            dialogHook(dialog);
    });
    const int result = dialog.exec();
    returnFocus(onTop, dialog.parentWidget());
    return result;
}

void QtServices::returnFocus(const QList<QPointer<QWidget>>& onTop, QWidget* owner)
{
    // The progress window goes back above the others and takes the keyboard: during a run its
    // Cancel is the one thing to press.
    for (const QPointer<QWidget>& window : onTop) {
        if (window && window->isVisible()) {
            bringToFront(*window);
            return;
        }
    }
    // A window manager would activate the owner when a modal window closes; without one (a
    // bare X server, a kiosk session) the keys would go nowhere, so it is asked for.
    if (!owner || !owner->isVisible())
        return;
    QWidget* window = owner->window();
    window->activateWindow();
    // Given to an inactive window, the focus waits there until the window is active.
    const auto found = m_lastFocus.find(window);
    if (found == m_lastFocus.end())
        return;
    if (QWidget* control = found->second;
        control && control->window() == window && control->isVisible() && control->isEnabled())
        control->setFocus(Qt::ActiveWindowFocusReason);
}

Answer QtServices::messageBox(const Window* owner, MessageForm form, const std::string& caption,
                              const std::string& text)
{
    if (form == MessageForm::Notice || form == MessageForm::Remark) {
        showNotice(owner, caption, text);
        return Answer::Ok;
    }
    QMessageBox box(dialogOwner(owner));
    box.setWindowTitle(qs(caption));
    box.setText(qs(text));
    box.setIcon(form == MessageForm::Plain          ? QMessageBox::NoIcon
                : form == MessageForm::Confirmation ? QMessageBox::Question
                : form == MessageForm::Warning      ? QMessageBox::Warning
                : form == MessageForm::Error        ? QMessageBox::Critical
                                                    : QMessageBox::Information);
    const bool question = form == MessageForm::Confirmation || form == MessageForm::Warning;
    // A question's Yes, or the one OK, is the default; Escape answers No, or OK.
    QPushButton* yes = question ? box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole)
                                : box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(question ? box.addButton(QStringLiteral("&No"), QMessageBox::NoRole) : yes);
    // Wide enough for its caption beside the frame's buttons: a window manager shortens a
    // caption that does not fit, and "Twinfold for Windows" would read "Twinf...ndows".
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        constexpr int FrameButtons = 120;
        grid->addItem(
            new QSpacerItem(box.fontMetrics().horizontalAdvance(box.windowTitle()) + FrameButtons,
                            0, QSizePolicy::Minimum, QSizePolicy::Minimum),
            grid->rowCount(), 0, 1, grid->columnCount());
    }
    runDialog(box);
    if (!question)
        return Answer::Ok;
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

void QtServices::showNotice(const Window* owner, const std::string& caption,
                            const std::string& text)
{
    // Not modal: a run, an unattended batch above all, goes on while the user reads it. It
    // shows above the progress window but leaves it the keyboard, whose Cancel stays the one
    // thing to press during a run.
    auto* box = new QMessageBox(QMessageBox::Information, qs(caption), qs(text), QMessageBox::Ok,
                                dialogOwner(owner));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowModality(Qt::NonModal);
    box->setWindowFlags(DialogFrame);
    setOnTop(*box, !windowsOnTop(box).isEmpty());
    box->show();
    box->raise();
    if (dialogHook)
        QTimer::singleShot(0, box, [this, box] { dialogHook(*box); });
}

std::optional<std::string> QtServices::inputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initialText)
{
    QInputDialog dialog(dialogOwner(nullptr));
    dialog.setWindowTitle(qs(caption));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(qs(initialText));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    // Plain buttons, as in every other box of the program.
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        button->setIcon(QIcon());
    auto* edit = dialog.findChild<QLineEdit*>();
    edit->setMaxLength(255);
    edit->setMinimumWidth(320);
    if (runDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return edit->text().toStdString();
}

std::optional<std::string> QtServices::fileDialog(const FileDialogOptions& options, bool save)
{
    // The desktop's own chooser where it has one; the designed checks that a chooser may not
    // make are made below.
    QFileDialog dialog(dialogOwner(nullptr), qs(options.title));
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
        QFileInfo chosen(dialog.selectedFiles().constFirst());
        if (save && !options.defaultExtension.empty() && chosen.suffix().isEmpty())
            chosen.setFile(chosen.filePath() + QLatin1Char('.') + qs(options.defaultExtension));
        // The dialog lets a typed path through; the designed checks are made here.
        const std::string fault = options.pathMustExist && !chosen.dir().exists()
                                      ? "Path does not exist: " + chosen.path().toStdString()
                                  : options.fileMustExist && !chosen.exists()
                                      ? "File not found: " + chosen.filePath().toStdString()
                                      : std::string();
        if (fault.empty())
            return chosen.absoluteFilePath().toStdString();
        messageBox(nullptr, MessageForm::Plain, ApplicationTitle, fault);
    }
}

void QtServices::showModal(Window& window)
{
    QWidget* view = viewOf(&window);
    if (!view || view == m_mainView)
        return;
    showMainView();
    QEventLoop loop;
    Connection closing = window.closed.connect([&loop] { loop.quit(); });
    const QList<QPointer<QWidget>> onTop = windowsOnTop(view);
    setOnTop(*view, !onTop.isEmpty());
    view->setWindowModality(Qt::ApplicationModal);
    window.Show();
    view->show();
    bringToFront(*view);
    if (auto* dialog = qobject_cast<QDialog*>(view); dialog && dialogHook)
        QTimer::singleShot(0, dialog, [this, dialog] { dialogHook(*dialog); });
    if (window.visible())
        loop.exec();
    view->hide();
    returnFocus(onTop, view->parentWidget());
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
        // Still shown while the restoring waits.
        if (m_busyDepth++ == 0 && !m_cursorRestore.isActive())
            QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorRestore.stop();
    } else if (m_busyDepth > 0 && --m_busyDepth == 0) {
        m_cursorRestore.start();
    }
}

void QtServices::showHelpTopic(int topic)
{
    // Read beside the program rather than over it; once placed (or moved by the user, or kept
    // from the last start) it stays where it is.
    if (!m_help->isVisible() && !m_help->testAttribute(Qt::WA_Moved) && m_mainView &&
        m_mainView->isVisible())
        placeBeside(*m_help, *m_mainView);
    m_helpPages->setSource(topicUrl(topic));
    m_help->show();
    bringToFront(*m_help);
}

void QtServices::closeHelp()
{
    m_help->close();
}

} // namespace twinfold
