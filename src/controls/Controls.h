#pragma once

#include "platform/Signal.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace twinfold
{

// Toolkit-free models of the simple controls. A view mirrors them by subscribing to their
// signals; the window models read and write them and carry the event handlers. Each signal is
// emitted once for each real change, after the model holds the new state: setting the value a
// control already has announces nothing.

class Label
{
public:
    const std::string& text() const { return m_text; }
    // Taken as a view: a run sets its labels at every file, and assigning in place reuses the
    // label's own storage.
    void setText(std::string_view text);

    Signal<const std::string&> textChanged;

private:
    std::string m_text;
};

// A one-line entry field.
class EditField
{
public:
    const std::string& text() const { return m_text; }
    void setText(std::string text);
    // Asks the view to put the input focus into the field; the model keeps no focus of its own.
    void setFocus() { focusRequested.emit(); }

    Signal<std::string> textChanged;
    Signal<> focusRequested;

private:
    std::string m_text;
};

// A check box. Setting a state that differs from the current one runs the click handler, as a
// user's click does; setting the state it already has runs nothing. The click handler is the
// window model's own logic and a single hook, apart from the signals, so that a view that
// subscribes can never displace it; the signal is emitted before the handler runs, so a view
// shows the new state before whatever the handler changes in turn.
class CheckBox
{
public:
    explicit CheckBox(std::string caption = {}) : m_caption(std::move(caption)) {}

    const std::string& caption() const { return m_caption; }
    bool checked() const { return m_checked; }
    void setChecked(bool checked);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    std::function<void()> onClick;

    Signal<bool> checkedChanged;
    Signal<bool> enabledChanged;

private:
    std::string m_caption;
    bool m_checked = false;
    bool m_enabled = true;
};

// A progress bar: the percentage done is (progress - min) * 100 / (max - min), truncated, and
// 0 when max equals min. Setting the progress clamps it into the range; a change of the range
// that moves the progress announces both.
class Gauge
{
public:
    int minValue() const { return m_min; }
    int maxValue() const { return m_max; }
    int progress() const { return m_progress; }
    void setMinValue(int value);
    void setMaxValue(int value);
    void setProgress(int value);
    int percentDone() const;

    Signal<int, int> rangeChanged; // min, max
    Signal<int> progressChanged;

private:
    int m_min = 0;
    int m_max = 100;
    int m_progress = 0;
};

// A group of radio buttons: at most one checked; checking one unchecks the others.
class RadioGroup
{
public:
    explicit RadioGroup(std::vector<std::string> captions) : m_captions(std::move(captions)) {}

    const std::vector<std::string>& captions() const { return m_captions; }
    int checkedIndex() const { return m_checked; }
    void setCheckedIndex(int index);

    Signal<int> checkedChanged;

private:
    std::vector<std::string> m_captions;
    int m_checked = -1;
};

// A list with extended multiple selection and one current item (the item index).
//
// `reset` means the whole list was replaced: items, selection and current item are read anew,
// and nothing else is announced for that change. `inserted` and `removed` name the position
// of the one item concerned; when the item index moves with them, `currentChanged` follows.
class ListBox
{
public:
    int count() const { return static_cast<int>(m_items.size()); }
    const std::string& item(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& items() const { return m_items; }

    void add(std::string item);
    void insert(int index, std::string item);
    void remove(int index);
    void clear();
    void assign(std::vector<std::string> items); // replaces everything, nothing selected

    bool selected(int index) const;
    void setSelected(int index, bool selected);
    int selectedCount() const;

    // -1 when there is no current item.
    int itemIndex() const { return m_itemIndex; }
    void setItemIndex(int index);

    Signal<> reset;
    Signal<int> inserted;
    Signal<int> removed;
    Signal<int, bool> selectionChanged; // index, selected
    Signal<int> currentChanged;

private:
    void changeItemIndex(int index);

    std::vector<std::string> m_items;
    std::vector<std::uint8_t> m_selected;
    int m_itemIndex = -1;
};

// A drop-down list without free text.
class ComboBox
{
public:
    explicit ComboBox(std::vector<std::string> items = {}) : m_items(std::move(items)) {}

    const std::vector<std::string>& items() const { return m_items; }
    // New items leave no entry chosen.
    void setItems(std::vector<std::string> items);
    int itemIndex() const { return m_itemIndex; }
    // An index outside the list leaves no entry chosen.
    void setItemIndex(int index);
    // The chosen entry's text, empty when none is chosen.
    std::string text() const;

    Signal<> itemsChanged;
    Signal<int> itemIndexChanged;

private:
    std::vector<std::string> m_items;
    int m_itemIndex = -1;
};

} // namespace twinfold
