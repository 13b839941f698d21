#include "controls/Controls.h"
#include "controls/DirectoryView.h"
#include "controls/FileListBox.h"
#include "platform/DirectoryCache.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace twinfold;
using twinfold::test::TempDir;
using Events = std::vector<std::string>;

namespace
{

// Every control of each kind, with every signal recorded as it is emitted.
struct Observed {
    explicit Observed(const TempDir& dir) : view(cache), files(cache)
    {
        dir.writeFile("a.txt", "");
        dir.writeFile("b.dat", "");
        dir.makeDir("sub");
        record(label.textChanged, "text");
        record(edit.textChanged, "edit");
        record(check.checkedChanged, "checked");
        record(check.enabledChanged, "enabled");
        check.onClick = [this] { events.push_back("click"); };
        record(gauge.rangeChanged, "range");
        record(gauge.progressChanged, "progress");
        record(radio.checkedChanged, "radio");
        record(list.reset, "reset");
        record(list.inserted, "inserted");
        record(list.removed, "removed");
        record(list.selectionChanged, "selection");
        record(list.currentChanged, "current");
        record(combo.itemsChanged, "items");
        record(combo.itemIndexChanged, "index");
        record(view.directoryChanged, "directory");
        record(view.listingChanged, "listing");
        record(view.currentChanged, "viewCurrent");
        record(files.reset, "files");
    }

    template <typename... Args> void record(Signal<Args...>& signal, const std::string& name)
    {
        connections.push_back(signal.connect([this, name](Args... args) {
            std::string event = name;
            ((event += " " + describe(args)), ...);
            events.push_back(event);
        }));
    }
    static std::string describe(const std::string& text) { return text; }
    static std::string describe(int value) { return std::to_string(value); }
    static std::string describe(bool value) { return value ? "on" : "off"; }

    Label label;
    EditField edit;
    CheckBox check;
    Gauge gauge;
    RadioGroup radio{{"one", "two"}};
    ListBox list;
    ComboBox combo{{"x", "y"}};
    DirectoryCache cache;
    DirectoryView view;
    FileListBox files;
    std::vector<Connection> connections;
    Events events;
};

// Each change is made twice where repeating it is no change, so that only real changes count.
struct Case {
    const char* name;
    std::function<void(Observed&, const std::string& dir)> change;
    Events expected; // "$DIR" stands for the test's directory
};

} // namespace

TEST(ControlSignalsTest, EveryChangeIsAnnouncedOnce)
{
    const std::vector<Case> cases = {
        {"label",
         [](Observed& o, const std::string&) {
             o.label.setText("hello");
             o.label.setText("hello");
         },
         {"text hello"}},
        {"edit field",
         [](Observed& o, const std::string&) {
             o.edit.setText("*.txt");
             o.edit.setText("*.txt");
         },
         {"edit *.txt"}},
        {"check box",
         [](Observed& o, const std::string&) {
             for (int i = 0; i < 2; ++i) {
                 o.check.setChecked(true);
                 o.check.setEnabled(false);
             }
         },
         {"checked on", "click", "enabled off"}},
        {"gauge",
         [](Observed& o, const std::string&) {
             for (int i = 0; i < 2; ++i) {
                 o.gauge.setProgress(150);
                 o.gauge.setMaxValue(50);
                 o.gauge.setMinValue(10);
             }
         },
         {"progress 100", "range 0 50", "progress 50", "range 10 50"}},
        {"radio group",
         [](Observed& o, const std::string&) {
             o.radio.setCheckedIndex(1);
             o.radio.setCheckedIndex(1);
             o.radio.setCheckedIndex(5);
         },
         {"radio 1"}},
        {"combo box",
         [](Observed& o, const std::string&) {
             for (int i = 0; i < 2; ++i) {
                 o.combo.setItemIndex(1);
                 o.combo.setItems({"z"});
             }
         },
         {"index 1", "items", "index -1"}},
        {"list box",
         [](Observed& o, const std::string&) {
             o.list.clear();
             o.list.assign({"p", "q"});
             o.list.assign({"p", "q"});
             o.list.insert(0, "o");
             o.list.setSelected(2, true);
             o.list.setSelected(2, true);
             o.list.remove(2);
             o.list.remove(1);
             o.list.setItemIndex(0);
             o.list.setItemIndex(0);
             o.list.clear();
         },
         {"reset", "inserted 0", "current 1", "selection 2 on", "removed 2", "removed 1",
          "current 0", "reset"}},
        {"directory view",
         [](Observed& o, const std::string& dir) {
             for (int i = 0; i < 2; ++i) {
                 o.view.setDirectory(dir);
                 o.view.setItemIndex(0);
             }
         },
         {"directory $DIR", "viewCurrent 0"}},
        {"file list",
         [](Observed& o, const std::string& dir) {
             o.files.read(dir, "*.txt");
             o.files.read(dir, "*.txt");
         },
         {"files"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Observed observed(dir);
        c.change(observed, dir.path());
        Events expected = c.expected;
        for (auto& event : expected) {
            if (const auto at = event.find("$DIR"); at != std::string::npos)
                event.replace(at, 4, dir.path());
        }
        EXPECT_EQ(observed.events, expected) << c.name;
    }
}
TEST(ControlSignalsTest, UpdatesAnnounceNewListingsOnly)
{
    TempDir dir;
    Observed o(dir);
    o.view.setReadsEagerly(true);
    o.view.setDirectory(dir.path());
    o.files.read(dir.path(), "*.*");
    o.events.clear();

    dir.writeFile("c.txt", "");
    o.view.update();
    o.files.update();
    o.files.update();
    EXPECT_EQ(o.events, (Events{"listing", "files"}));
}
