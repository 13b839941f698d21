#include "SyncBoxView.h"

#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace twinfold
{

namespace
{

// Fast enough to look live, slow enough that drawing costs a run of small files nothing.
constexpr int DrawInterval = 50; // milliseconds

QLabel* boldLabel(const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

SyncBoxView::SyncBoxView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      SyncDirFrom(new PathLabel), SyncDirTo(new PathLabel), FileName(new PathLabel),
      Process(new QLabel(QStringLiteral("Processing..."))), FileProgress(new QLabel),
      Gauge(new QProgressBar), Cancel(new QPushButton(QStringLiteral("Cancel")))
{
    setWindowTitle(QStringLiteral("Twinfolding..."));
    setModal(false);
    setCursor(Qt::WaitCursor);
    Gauge->setFormat(QStringLiteral("%p%"));
    Gauge->setValue(0);
    Cancel->setDefault(true);
    Cancel->setCursor(Qt::ArrowCursor);
    auto* form = new QFormLayout;
    form->addRow(boldLabel("From:"), SyncDirFrom);
    form->addRow(boldLabel("To:"), SyncDirTo);
    form->addRow(boldLabel("File:"), FileName);
    auto* status = new QHBoxLayout;
    status->addWidget(Process);
    status->addStretch();
    status->addWidget(FileProgress);
    form->addRow(boldLabel("Status:"), status);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Gauge);
    layout->addWidget(Cancel, 0, Qt::AlignHCenter);
    // A fixed frame: window managers offer neither resizing nor maximising for it. The path
    // labels shorten their texts to the width they get.
    setFixedSize(std::max(380, sizeHint().width()), sizeHint().height());
    Cancel->setFocus();
}

void SyncBoxView::hideEvent(QHideEvent* event)
{
    // It takes the keyboard during a run; when it goes, the keyboard goes back to the window
    // below it, which a bare display (no window manager) would not do by itself.
    if (isActiveWindow() && parentWidget() && parentWidget()->isVisible())
        parentWidget()->window()->activateWindow();
    QDialog::hideEvent(event);
}

QString fileProgressText(qint64 copied, qint64 size)
{
    const QLocale locale;
    if (size <= 0)
        return copied > 0 ? locale.formattedDataSize(copied) : QString();
    return QStringLiteral("%1 of %2 (%3%)")
        .arg(locale.formattedDataSize(copied), locale.formattedDataSize(size))
        .arg(copied * 100 / size);
}

void bindSyncBox(BindingKit& kit, Application& app, SyncBoxView& view, QWidget* over)
{
    TSyncBox& box = app.SyncBox;
    // The bar shows the model's own percentage, so that its rounding is the designed one.
    view.Gauge->setRange(0, 100);
    auto draw = [&box, &view] {
        view.SyncDirFrom->setPath(QString::fromStdString(box.SyncDirFrom.text()));
        view.SyncDirTo->setPath(QString::fromStdString(box.SyncDirTo.text()));
        view.FileName->setPath(QString::fromStdString(box.FileName.text()));
        view.Process->setText(QString::fromStdString(box.Process.text()));
        view.Gauge->setValue(box.Gauge.percentDone());
        view.FileProgress->setText(fileProgressText(box.fileCopied(), box.fileSize()));
    };
    // The model changes once per file, far more often than anyone can read: the window is
    // drawn as often as the throttle lets it, and at once when it shows and when the run ends.
    ThrottledDraw* drawing = kit.drawing(draw);
    for (Label* label : {&box.SyncDirFrom, &box.SyncDirTo, &box.FileName, &box.Process})
        kit.follow(label->textChanged, [drawing](const std::string&) { drawing->request(); });
    kit.follow(box.Gauge.progressChanged, [drawing](int) { drawing->request(); });
    kit.follow(box.Gauge.rangeChanged, [drawing](int, int) { drawing->request(); });
    kit.follow(box.fileProgress, [drawing](std::int64_t, std::int64_t) { drawing->request(); });
    kit.follow(box.runFinished, [&box, &view, draw](RunEnd) {
        draw();
        if (!box.visible())
            view.hide();
    });

    // A Sync All closes and shows the window again for every directory. Unmapping and mapping
    // it each time would cost a run of small directories more than its copying, so between the
    // passes of a run the window stays up unless it stays closed for a while.
    auto* hidePending = new QTimer(&kit);
    hidePending->setSingleShot(true);
    hidePending->setInterval(DrawInterval);
    QObject::connect(hidePending, &QTimer::timeout, &kit, [&box, &view] {
        if (!box.visible())
            view.hide();
    });
    auto showOver = [&view, over, hidePending, drawing, draw] {
        hidePending->stop();
        if (view.isVisible()) {
            // Still up from the previous pass: placed, raised and focused already.
            drawing->request();
            return;
        }
        draw();
        view.adjustSize();
        const QRect area =
            over && over->isVisible() ? over->frameGeometry() : view.screen()->availableGeometry();
        view.move(area.center() - view.rect().center());
        view.show();
        view.raise();
        view.Cancel->setFocus();
    };
    kit.follow(box.shown, showOver);
    kit.follow(box.closed, [&box, &view, hidePending] {
        if (box.running)
            hidePending->start();
        else
            view.hide();
    });
    // The run asks for the focus after every file; raising the window is a request to the
    // display, and one per file would cost a run of small files more than its copying.
    auto sinceRaised = std::make_shared<QElapsedTimer>();
    kit.follow(box.focusRequested, [&view, sinceRaised] {
        if (sinceRaised->isValid() && sinceRaised->elapsed() < DrawInterval)
            return;
        sinceRaised->start();
        view.raise();
    });

    const BindingKit::Handler cancel = BindingKit::call(box, &TSyncBox::requestCancel);
    kit.press(view.Cancel, cancel);
    kit.onEvent(&view, QEvent::KeyPress, [&kit, cancel](QEvent* event) {
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        kit.user(cancel);
        return true;
    });
    // The window stays until the model closes it: during a run the close box asks first.
    kit.onEvent(&view, QEvent::Close, [&kit, &box](QEvent* event) {
        event->ignore();
        kit.user(BindingKit::call(box, &TSyncBox::closeBoxClicked));
        return true;
    });
    if (box.visible())
        showOver();
}

} // namespace twinfold
