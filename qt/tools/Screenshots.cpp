// Draws every window of the program, working on a generated demo tree, into OUTDIR as one PNG
// each, and ends; used by scripts/screenshots.sh. The windows are drawn where and as large as
// they are designed, and no place is kept.
#include "Program.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

namespace twinfold
{

namespace
{

// A bare Xvfb has no window manager to draw frames, so a plain title bar is painted above each
// window to show its caption.
QImage withTitleBar(QWidget& window)
{
    const QPixmap content = window.grab();
    const int barHeight = window.fontMetrics().height() + 10;
    QImage image(content.width(), content.height() + barHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, image.width(), barHeight, QColor(0x3c, 0x4a, 0x5c));
    painter.setPen(Qt::white);
    painter.setFont(window.font());
    painter.drawText(QRect(8, 0, image.width() - 16, barHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    painter.drawPixmap(0, barHeight, content);
    return image;
}

void settle(int milliseconds)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

bool framed(const QWidget& window)
{
    return window.frameGeometry() != window.geometry();
}

// Under a window manager each window is taken from the screen with the frame, caption and
// buttons it really gets. Whether one runs is seen once, by the first window's frame.
QImage picture(QWidget& window)
{
    static std::optional<bool> managed;
    if (!managed) {
        QElapsedTimer waited;
        waited.start();
        while (!framed(window) && waited.elapsed() < 2000)
            settle(20);
        managed = framed(window);
    }
    if (!*managed)
        return withTitleBar(window);
    // The manager frames, places and raises the window, then draws its decorations.
    QElapsedTimer waited;
    waited.start();
    while (!framed(window) && waited.elapsed() < 1000)
        settle(20);
    settle(300);
    const QRect frame = window.frameGeometry();
    return window.screen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .toImage();
}

void save(QWidget& window, const QString& dir, const QString& name)
{
    window.show();
    QApplication::processEvents();
    picture(window).save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void writeFile(const QString& path, qsizetype size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Unable to write the demo file " + path.toStdString());
    file.write(QByteArray(size, 'x'));
}

// A small home directory to synchronise: documents in a few folders, an empty backup beside
// them, and two settings files for the batch editor to pick.
struct DemoTree {
    QTemporaryDir root;

    QString path(const char* relative) const
    {
        return QDir(root.path()).filePath(QString::fromLatin1(relative));
    }
    std::string at(const char* relative) const { return path(relative).toStdString(); }

    DemoTree()
    {
        const QDir top(root.path());
        for (const char* dir : {"Documents/letters", "Documents/reports/2024", "Documents/photos",
                                "backup/Documents", "jobs"})
            top.mkpath(QString::fromLatin1(dir));
        int size = 1500;
        for (const char* file :
             {"Documents/budget.xls", "Documents/notes.txt", "Documents/plan.doc",
              "Documents/todo.txt", "Documents/letters/bank.doc", "Documents/letters/landlord.doc",
              "Documents/reports/summary.doc", "Documents/reports/2024/q1.xls",
              "Documents/reports/2024/q2.xls", "Documents/photos/beach.jpg",
              "Documents/photos/garden.jpg", "jobs/documents.ini", "jobs/photos.ini"}) {
            writeFile(path(file), size);
            size = size * 3 % 70000 + 900;
        }
    }
};

// Shows each window the program opens modally, saves it under the name asked for, and closes
// it the way a user's Escape or OK would.
class ModalShots
{
public:
    ModalShots(QtServices& services, QString dir) : m_services(services), m_dir(std::move(dir))
    {
        services.dialogHook = [this](QDialog& dialog) { onShown(dialog); };
    }
    ~ModalShots() { m_services.dialogHook = nullptr; }
    ModalShots(const ModalShots&) = delete;
    ModalShots& operator=(const ModalShots&) = delete;

    // What the next window shown is called, and what to do to it before it is drawn.
    void expect(const QString& name, std::function<void(QDialog&)> prepare = {})
    {
        m_name = name;
        m_prepare = std::move(prepare);
    }

private:
    void onShown(QDialog& dialog)
    {
        const QString name = m_name.isEmpty() ? QStringLiteral("unexpected") : m_name;
        m_name.clear();
        auto prepare = std::move(m_prepare);
        m_prepare = nullptr;
        if (prepare)
            prepare(dialog);
        save(dialog, m_dir, name);
        if (auto* box = qobject_cast<QMessageBox*>(&dialog); box && box->defaultButton())
            box->defaultButton()->click();
        else
            dialog.reject();
    }

    QtServices& m_services;
    QString m_dir;
    QString m_name;
    std::function<void(QDialog&)> m_prepare;
};

void showMain(Application& app, QWidget& view, const DemoTree& demo, const QString& dir)
{
    TMain& main = app.Main;
    view.resize(760, 520);
    // Laid out first, so that the path labels are shortened to the widths they get on screen.
    view.show();
    QApplication::processEvents();
    app.command([&] {
        main.EditFilter.setItemIndex(0);
        main.EditFilterChange();
        main.SourceDirListBox.setDirectory(demo.at("Documents"));
        main.DestDirListBox.setDirectory(demo.at("backup/Documents"));
        main.FileList.setSelected(0, true);
        main.FileList.setSelected(2, true);
        main.FileListClick();
    });
    save(view, dir, QStringLiteral("main"));
    app.command([&] {
        for (int i = 0; i < main.FileList.count(); ++i)
            main.FileList.setSelected(i, false);
        main.FileListClick();
    });
}

// A Sync All of the demo tree, drawn at a file with the gauge well under way; it ends with its
// success message and leaves the log filled.
void runSync(Application& app, QtServices& services, ModalShots& shots, const QString& dir)
{
    bool drawn = false;
    const Connection midRun = app.SyncBox.fileDone.connect([&](std::int64_t) {
        const int percent = app.SyncBox.Gauge.percentDone();
        if (drawn)
            return;
        // Every file is drawn until one shows the gauge part-way, so that some picture remains.
        // During a run the window is drawn at most every 50 ms; the picture waits for a draw.
        QThread::msleep(60);
        QApplication::processEvents();
        save(*services.viewOf(&app.SyncBox), dir, QStringLiteral("progress"));
        drawn = percent >= 30 && percent < 100;
    });
    app.command([&app] { app.Main.SyncAll.setChecked(true); });
    shots.expect(QStringLiteral("message"));
    app.mainCommand([&app] { app.Main.SyncBtnClick(); });
}

void showAbout(Application& app, ModalShots& shots)
{
    // The companion opens from a double-click on the panel; it is drawn and closed before the
    // About box itself is drawn.
    shots.expect(QStringLiteral("about"), [&app, &shots](QDialog&) {
        shots.expect(QStringLiteral("special"));
        app.command([&app] { app.AboutBox.PanelDblClick(); });
    });
    app.mainCommand([&app] { app.Main.About1Click(); });
}

void drawScreenshots(Program& program, const QString& dir)
{
    Application& app = program.app;
    QtServices& services = program.services;
    const DemoTree demo;
    showMain(app, program.mainView, demo, dir);
    ModalShots shots(services, dir);
    // What the Sync All below will do, shown before it and closed again.
    app.command([&app] { app.Main.SyncAll.setChecked(true); });
    shots.expect(QStringLiteral("preview"));
    app.mainCommand([&app] { app.Main.Preview1Click(); });
    runSync(app, services, shots, dir);

    shots.expect(QStringLiteral("log"));
    app.mainCommand([&app] { app.Main.LogFile1Click(); });

    shots.expect(QStringLiteral("options"), [&app](QDialog&) {
        TOptionsbx& options = app.Optionsbx;
        for (const char* mask : {"*.doc", "*.xls"}) {
            options.EditInclude.setText(mask);
            app.command([&options] { options.AddIncludeClick(); });
        }
        options.EditExclude.setText("~*.*");
        app.command([&options] { options.AddExcludeClick(); });
    });
    app.mainCommand([&app] { app.Main.Options1Click(); });

    shots.expect(QStringLiteral("batch"), [&app, &demo](QDialog&) {
        TBatchDlg& editor = app.BatchDlg;
        app.command([&] {
            editor.SDirList.setDirectory(demo.at("jobs"));
            for (int i = 0; i < editor.FileList.count(); ++i)
                editor.FileList.setSelected(i, true);
            editor.SpeedButton4Click();
            editor.FileList.setSelected(0, false);
        });
    });
    app.mainCommand([&app] { app.Main.BatchFileEditor1Click(); });

    shots.expect(QStringLiteral("delete"));
    app.mainCommand([&app] { app.Main.DeleteDirectoryDDClick(); });

    showAbout(app, shots);

    services.showHelpContents();
    save(*services.helpWindow(), dir, QStringLiteral("help"));
}

} // namespace
} // namespace twinfold

// twinfold_screenshots OUTDIR CONFIGDIR
int main(int argc, char* argv[])
{
    twinfold::Program::nameApplication();
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: twinfold_screenshots OUTDIR CONFIGDIR\n");
        return 2;
    }
    try {
        twinfold::Program program;
        program.start(twinfold::StartOptions{arguments[2].toStdString(), std::nullopt});
        twinfold::drawScreenshots(program, arguments[1]);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "twinfold_screenshots: %s\n", error.what());
        return 1;
    }
}
