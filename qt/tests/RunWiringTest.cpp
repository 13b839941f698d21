// Wiring that only a real run shows: the progress window's keys at the run's polls, the source
// view following the walk, and the program's start with a batch file.
#include "Program.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <memory>
#include <thread>

using namespace twinfold;

class RunWiringTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void escapeInProgressWindowCancelsTheRun();
    void sourceViewFollowsTheWalkAndReturns();
    void fileProgressIsShownBesideTheStatus();
    void programStartedWithBatchFileRunsItAndQuits();
    void helpAndVersionNeedNoDisplay();
};

namespace
{

using test::writeFile;

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The program as it ships, every question answered Yes and every other box with its default
// button.
struct Session {
    explicit Session(const QString& configDir)
    {
        program.services.dialogHook = [](QDialog& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            if (!box) {
                dialog.accept();
                return;
            }
            for (QAbstractButton* button : box->buttons())
                if (button->text() == QStringLiteral("&Yes")) {
                    button->click();
                    return;
                }
            if (box->defaultButton())
                box->defaultButton()->click();
            else
                box->accept();
        };
        program.start(StartOptions{configDir.toStdString(), std::nullopt});
        view.show();
        view.activateWindow();
    }

    void showDirectories(const QString& source, const QString& target)
    {
        app.command([&] {
            app.Main.SourceDirListBox.setDirectory(source.toStdString());
            app.Main.DestDirListBox.setDirectory(target.toStdString());
        });
    }

    Program program;
    Application& app = program.app;
    MainWindowView& view = program.mainView;
    SyncBoxView& syncView = program.syncView;
};

} // namespace

void RunWiringTest::escapeInProgressWindowCancelsTheRun()
{
    QTemporaryDir root;
    const QDir top(root.path());
    QVERIFY(top.mkpath(QStringLiteral("source")) && top.mkpath(QStringLiteral("target")));
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        writeFile(top.filePath(QStringLiteral("source/") + QLatin1String(name)), name);
    Session session(top.filePath(QStringLiteral("config")));
    session.showDirectories(top.filePath(QStringLiteral("source")),
                            top.filePath(QStringLiteral("target")));

    // Escape reaches the progress window as a key does, through the focused Cancel button,
    // and only when the run next processes its pending events.
    const Connection press = session.app.SyncBox.fileStatus.connect(
        [&session](const std::string&, const std::string& path) {
            if (!endsWith(path, "c.txt"))
                return;
            QWidget* target = session.syncView.focusWidget();
            QCoreApplication::postEvent(
                target ? target : &session.syncView,
                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            // The run asks for events at most every few milliseconds: past that, the next poll
            // takes the key.
            std::this_thread::sleep_for(std::chrono::milliseconds(2 * QtServices::PollIntervalMs));
        });
    std::optional<RunEnd> end;
    const Connection finished =
        session.app.SyncBox.runFinished.connect([&end](RunEnd how) { end = how; });
    session.view.FileList->selectAll();
    QTest::mouseClick(session.view.SyncBtn, Qt::LeftButton);

    QVERIFY(end && *end == RunEnd::Cancelled);
    QVERIFY(QFile::exists(top.filePath(QStringLiteral("target/c.txt"))));
    QVERIFY(!QFile::exists(top.filePath(QStringLiteral("target/d.txt"))));
    QVERIFY(!QFile::exists(top.filePath(QStringLiteral("target/e.txt"))));
    QVERIFY(!session.syncView.isVisible());
}

void RunWiringTest::fileProgressIsShownBesideTheStatus()
{
    QTemporaryDir root;
    Session session(QDir(root.path()).filePath(QStringLiteral("config")));
    session.app.SyncBox.setFileProgress(3 << 20, 12 << 20);
    QCOMPARE(session.syncView.FileProgress->text(), fileProgressText(3 << 20, 12 << 20));
    QVERIFY(session.syncView.FileProgress->text().endsWith(QStringLiteral(" (25%)")));
    session.app.SyncBox.setFileProgress(0, 0);
    QVERIFY(session.syncView.FileProgress->text().isEmpty());
}

void RunWiringTest::sourceViewFollowsTheWalkAndReturns()
{
    QTemporaryDir root;
    const QDir top(root.path());
    QVERIFY(top.mkpath(QStringLiteral("source/deeper")) && top.mkpath(QStringLiteral("target")));
    writeFile(top.filePath(QStringLiteral("source/top.txt")), "top");
    writeFile(top.filePath(QStringLiteral("source/deeper/inner.txt")), "inner");
    Session session(top.filePath(QStringLiteral("config")));
    const QString source = top.filePath(QStringLiteral("source"));
    session.showDirectories(source, top.filePath(QStringLiteral("target")));

    const QString deeper = top.filePath(QStringLiteral("source/deeper"));
    QString shownDuringInner;
    QString currentDuringInner;
    const Connection watch =
        session.app.SyncBox.fileStatus.connect([&](const std::string&, const std::string& path) {
            if (!endsWith(path, "inner.txt"))
                return;
            // During a run the window is drawn at most every 50 ms, the label and the list each by
            // its own throttle: the view follows once both let it.
            const auto listShows = [&](const QString& name) {
                const QListWidgetItem* item = session.view.SourceDirListBox->currentItem();
                return item && item->text().trimmed() == name;
            };
            if (!QTest::qWaitFor(
                    [&] {
                        return session.view.SourceLabel->toolTip() == deeper &&
                               listShows(QStringLiteral("deeper"));
                    },
                    5000))
                return;
            shownDuringInner = session.view.SourceLabel->toolTip();
            if (QListWidgetItem* item = session.view.SourceDirListBox->currentItem())
                currentDuringInner = item->text().trimmed();
        });
    QTest::mouseClick(session.view.SyncAll, Qt::LeftButton);
    QVERIFY(session.app.Main.SyncAll.checked());
    QTest::mouseClick(session.view.SyncBtn, Qt::LeftButton);

    QVERIFY(QFile::exists(top.filePath(QStringLiteral("target/deeper/inner.txt"))));
    QCOMPARE(shownDuringInner, deeper);
    QCOMPARE(currentDuringInner, QStringLiteral("deeper"));
    QCOMPARE(session.view.SourceLabel->toolTip(), source);
}

void RunWiringTest::programStartedWithBatchFileRunsItAndQuits()
{
    QTemporaryDir root;
    const QDir top(root.path());
    QVERIFY(top.mkpath(QStringLiteral("source")) && top.mkpath(QStringLiteral("target")));
    writeFile(top.filePath(QStringLiteral("source/one.txt")), "one");
    const QString job = top.filePath(QStringLiteral("job.ini"));
    writeFile(job, QStringLiteral("[Settings]\nSourceDir=%1\nDestDir=%2\nSelectAll=1\n")
                       .arg(top.filePath(QStringLiteral("source")),
                            top.filePath(QStringLiteral("target")))
                       .toUtf8());
    const QString batch = top.filePath(QStringLiteral("run.tfw"));
    writeFile(batch, QStringLiteral("[Files]\nFile0=%1\n").arg(job).toUtf8());

    // Relative paths mean the directory the program is started in, though start-up enters the
    // configuration directory.
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_STATE_HOME"), top.filePath(QStringLiteral("state")));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(top.path());
    program.start(
        QStringLiteral(TWINFOLD_PROGRAM),
        {QStringLiteral("--config-dir"), QStringLiteral("config"), QStringLiteral("run.tfw")});
    // The wait only keeps a program that never ends from hanging the suite.
    const bool ended = program.waitForFinished(30000);
    if (!ended)
        program.kill();
    QVERIFY2(ended, "the program did not end after its batch run");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QFile copied(top.filePath(QStringLiteral("target/one.txt")));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), QByteArray("one"));
    QFile settings(top.filePath(QStringLiteral("config/tfoldw.ini")));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QByteArray stored = settings.readAll();
    QVERIFY(stored.contains(("BatchDir=" + batch + "\n").toUtf8()));
    // Where the main window was is kept in a state file of its own; the settings file holds
    // its designed keys only.
    QVERIFY(!stored.contains("geometry"));
    QFile state(top.filePath(QStringLiteral("state/twinfold/windows.ini")));
    QVERIFY(state.open(QIODevice::ReadOnly));
    QVERIFY(state.readAll().contains("[main]"));
}

void RunWiringTest::helpAndVersionNeedNoDisplay()
{
    // The display plugin that a desktop session uses, with no display to connect to: the
    // toolkit would abort at its start.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("--version")}) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TWINFOLD_PROGRAM), {option});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QByteArray said = program.readAllStandardOutput();
        QVERIFY2(said.contains(option == QLatin1String("--help") ? "--config-dir" : "twinfold "),
                 said.constData());
    }
}

QTEST_MAIN(RunWiringTest)
#include "RunWiringTest.moc"
