// Times the desktop program's Preview against a no-op Sync All of the same tree, through the
// real views (offscreen): a Sync All of SOURCE into DEST, whose mirror must be up to date, then a
// Preview into PREVIEW_DEST (default: DEST) until its window is drawn, ROUNDS times in turn.
// Usage: QT_QPA_PLATFORM=offscreen twinfold_preview_timing SOURCE DEST CONFIG_DIR [ROUNDS]
//        [PREVIEW_DEST]
#include "Program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace twinfold;

namespace
{

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SOURCE DEST CONFIG_DIR [ROUNDS] [PREVIEW_DEST]\n", argv[0]);
        return 2;
    }
    QApplication qapp(argc, argv);
    const std::string source = argv[1];
    const std::string dest = argv[2];
    const int rounds = argc > 4 ? std::max(1, std::stoi(argv[4])) : 5;
    const std::string previewDest = argc > 5 ? argv[5] : dest;
    Program program;
    QtServices& services = program.services;
    MainWindowView& view = program.mainView;
    Application& app = program.app;
    PreviewView& previewView = program.previewView;
    app.start(StartOptions{argv[3], std::nullopt});
    view.show();
    QApplication::processEvents();
    app.command([&] {
        app.Main.SourceDirListBox.setDirectory(source);
        app.Main.SyncAll.setChecked(true);
    });

    QElapsedTimer timer;
    double shownAfter = 0;
    services.dialogHook = [&](QDialog& dialog) {
        if (&dialog == &previewView) {
            previewView.repaint(); // the window and the rows in sight drawn
            shownAfter = static_cast<double>(timer.elapsed());
            previewView.CloseBtn->click();
        } else if (auto* box = qobject_cast<QMessageBox*>(&dialog); box && box->defaultButton()) {
            box->defaultButton()->click();
        } else {
            dialog.accept();
        }
    };
    std::vector<double> syncs;
    std::vector<double> previews;
    for (int i = 0; i < rounds; ++i) {
        app.command([&] { app.Main.DestDirListBox.setDirectory(dest); });
        timer.start();
        app.mainCommand([&] { app.Main.SyncBtnClick(); });
        syncs.push_back(static_cast<double>(timer.elapsed()));
        app.command([&] { app.Main.DestDirListBox.setDirectory(previewDest); });
        timer.start();
        app.mainCommand([&] { app.Main.Preview1Click(); });
        previews.push_back(shownAfter);
        std::printf("round %d: no-op sync %.0f ms, preview shown after %.0f ms (%zu to copy, %zu "
                    "left alone)\n",
                    i, syncs.back(), previews.back(), app.Preview.toCopy().size(),
                    app.Preview.leftAlone().size());
    }
    std::printf("median: no-op sync %.0f ms, preview %.0f ms, ratio %.2f\n", median(syncs),
                median(previews), median(previews) / median(syncs));
    return 0;
}
