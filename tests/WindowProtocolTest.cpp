// The progress window's run protocol and the modal windows, as a front end follows them.
#include "support/AppFixture.h"

#include "settings/Options.h"

namespace twinfold::test
{
namespace
{

class WindowProtocolTest : public AppFixture
{
protected:
    // Records the protocol of the runs as one line per announcement.
    void follow()
    {
        TSyncBox& box = app->SyncBox;
        m_links.push_back(box.runStarted.connect([this] { events.emplace_back("started"); }));
        m_links.push_back(
            box.passStarted.connect([this](const std::string& from, const std::string& to) {
                events.push_back("pass " + from.substr(tmp.path().size()) + " " +
                                 to.substr(tmp.path().size()));
            }));
        m_links.push_back(
            box.fileStatus.connect([this](const std::string& status, const std::string& path) {
                events.push_back(status + " " + path.substr(tmp.path().size()));
            }));
        m_links.push_back(box.fileDone.connect(
            [this](std::int64_t bytes) { events.push_back("done " + std::to_string(bytes)); }));
        m_links.push_back(box.runFinished.connect([this](RunEnd end) {
            const char* names[] = {"completed", "cancelled", "abandoned"};
            events.push_back(std::string("finished ") + names[static_cast<int>(end)]);
        }));
    }
    std::vector<std::string> events;

private:
    std::vector<Connection> m_links;
};

TEST_F(WindowProtocolTest, RunsAnnounceTheirPassesFilesAndEnd)
{
    tmp.writeFile("src/a.txt", "abc", evenTime());
    tmp.writeFile("src/b.txt", "b", evenTime());
    tmp.writeFile("dst/b.txt", "b", evenTime(10));
    tmp.makeDir("src/sub");
    showSource();
    app->Main.SyncAll.setChecked(true);
    follow();
    ASSERT_TRUE(sync());
    EXPECT_EQ(events,
              (std::vector<std::string>{"started", "pass /src/sub /dst/sub", "pass /src /dst",
                                        "Copying /src/a.txt", "done 3", "Skipping /src/b.txt",
                                        "done 0", "finished completed"}));

    events.clear();
    ui.onFileStatus("Copying", "sub/c.txt", [this] {
        ui.answer(Answer::Yes);
        app->SyncBox.requestCancel();
    });
    tmp.writeFile("src/sub/c.txt", "c", evenTime());
    showSource();
    ASSERT_TRUE(sync());
    EXPECT_EQ(events.back(), "finished cancelled");

    // A file where a mirrored directory belongs stops the run with a failure.
    events.clear();
    tmp.writeFile("src/late/d.txt", "d", evenTime());
    tmp.writeFile("dst/late", "in the way");
    showSource();
    EXPECT_FALSE(sync());
    EXPECT_EQ(events.front(), "started");
    EXPECT_EQ(events.back(), "finished abandoned");
}

TEST_F(WindowProtocolTest, ModalCallEndsWhenTheWindowClosesItself)
{
    int shown = 0;
    int closed = 0;
    const Connection onShown = app->Optionsbx.shown.connect([&] { ++shown; });
    const Connection onClosed = app->Optionsbx.closed.connect([&] { ++closed; });
    ui.inModal("TOptionsbx", [this] {
        EXPECT_TRUE(app->Optionsbx.visible());
        app->Optionsbx.OkClick();
    });
    app->Main.Options1Click();
    EXPECT_FALSE(app->Optionsbx.visible());
    EXPECT_TRUE(ui.modalsLeftOpen.empty());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(closed, 1);

    // A scripted visit that closes nothing is ended by the services, and recorded.
    ui.inModal("TOptionsbx", [] {});
    app->Main.Options1Click();
    EXPECT_FALSE(app->Optionsbx.visible());
    EXPECT_EQ(ui.modalsLeftOpen, std::vector<std::string>{"TOptionsbx"});
    EXPECT_EQ(closed, 2);

    // Message boxes name the window that asks.
    ui.answer(Answer::No);
    app->SyncBox.requestCancel();
    EXPECT_EQ(ui.messages.back().owner, &app->SyncBox);
}

} // namespace
} // namespace twinfold::test
