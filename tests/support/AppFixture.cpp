#include "support/AppFixture.h"

#include "platform/FileSystem.h"

#include <ctime>

namespace twinfold::test
{

AppFixture::AppFixture()
{
    tmp.makeDir("src");
    tmp.makeDir("dst");
    app = std::make_unique<Application>(ui);
    ui.attach(app->SyncBox);
    showSource();
}

std::string AppFixture::src(const std::string& relative) const
{
    return relative.empty() ? tmp.pathOf("src") : tmp.pathOf("src/" + relative);
}

std::string AppFixture::dst(const std::string& relative) const
{
    return relative.empty() ? tmp.pathOf("dst") : tmp.pathOf("dst/" + relative);
}

void AppFixture::showSource(const std::string& relativeSource)
{
    app->directoryCache.clear();
    app->Main.SourceDirListBox.setDirectory(src(relativeSource));
    app->Main.DestDirListBox.setDirectory(dst());
    app->Main.EditFilter.setItemIndex(0);
    app->Main.EditFilterChange();
}

void AppFixture::selectAll()
{
    for (int i = 0; i < app->Main.FileList.count(); ++i)
        app->Main.FileList.setSelected(i, true);
}

bool AppFixture::sync()
{
    return app->mainCommand([this] { app->Main.SyncBtnClick(); });
}

std::int64_t evenTime(int offsetSeconds)
{
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 5;
    local.tm_mday = 12;
    local.tm_hour = 10;
    local.tm_min = 30;
    local.tm_sec = 20;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local)) + offsetSeconds;
}

} // namespace twinfold::test
