#include "HelpWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
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

// Topic numbers, as the windows ask for them.
const char* const TopicPages[] = {
    "contents.html",     // 0
    "main.html",         // 1 the main window
    "progress.html",     // 2 the progress window and the log
    "settings.html",     // 3 settings files and the options dialog
    "batch-editor.html", // 4
    "batch-files.html",  // 5
    "command-line.html", // 6
};

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser(new QTextBrowser)
{
    initHelpResources();
    setWindowTitle(QStringLiteral("Twinfold Help"));
    resize(560, 480);
    auto* contents = new QPushButton(QStringLiteral("&Contents"));
    auto* back = new QPushButton(QStringLiteral("&Back"));
    connect(contents, &QPushButton::clicked, this, [this] { showTopic(0); });
    connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser);
    // The help is read beside the program; Escape puts it away as it does a dialog.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

QUrl HelpWindow::topicUrl(int topic)
{
    const int count = int(std::size(TopicPages));
    const char* page = topic >= 0 && topic < count ? TopicPages[topic] : TopicPages[0];
    return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(page));
}

void HelpWindow::showTopic(int topic)
{
    browser->setSource(topicUrl(topic));
    show();
    raise();
    activateWindow();
}

} // namespace twinfold
