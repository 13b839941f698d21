#include "BindingKit.h"

#include "PathLabel.h"

#include "app/Application.h"
#include "engine/SyncBox.h"
#include "platform/ScopeExit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QStringListModel>
#include <QStyle>

#include <stdexcept>

namespace twinfold
{

namespace
{

// What typing matches: the name an entry shows, without its indentation or directory part.
QString searchName(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype slash = trimmed.lastIndexOf(QLatin1Char('/'));
    return slash < 0 || slash + 1 == trimmed.size() ? trimmed : trimmed.mid(slash + 1);
}

constexpr qint64 DrawIntervalMs = 50;

// The mark of the list that has the focus; the other lists keep a plain frame of the same
// width, so that nothing moves when the focus does.
const QString FocusMark =
    QStringLiteral("QAbstractItemView { border: 2px solid palette(mid); }"
                   "QAbstractItemView:focus { border-color: palette(highlight); }");

} // namespace

ThrottledDraw::ThrottledDraw(TSyncBox& run, std::function<void()> draw, QObject* parent)
    : QObject(parent), m_run(run), m_draw(std::move(draw))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { drawNow(); });
    m_runFinished = run.runFinished.connect([this](RunEnd) {
        if (m_timer.isActive())
            drawNow();
    });
}

void ThrottledDraw::request()
{
    if (!m_run.running) {
        drawNow();
        return;
    }
    if (m_timer.isActive())
        return;
    const qint64 since = m_lastDrawn.isValid() ? m_lastDrawn.elapsed() : DrawIntervalMs;
    if (since >= DrawIntervalMs)
        drawNow();
    else
        m_timer.start(static_cast<int>(DrawIntervalMs - since));
}

void ThrottledDraw::drawNow()
{
    m_timer.stop();
    m_lastDrawn.start();
    m_draw();
}

BindingKit::BindingKit(Application& app, Dispatch dispatch) : m_app(app), m_dispatch(dispatch) {}

bool BindingKit::user(const Handler& handler)
{
    // The echo rule, kept here for every binding: a change a widget announces while the kit
    // draws a model's state into it is that drawing, not the user's.
    if (m_drawingModel > 0)
        return true;
    const bool done = (m_app.*m_dispatch)(handler);
    if (afterEach)
        afterEach();
    return done;
}

void BindingKit::fromModel(const Handler& change)
{
    ++m_drawingModel;
    const ScopeExit done([this] { --m_drawingModel; });
    change();
}

ThrottledDraw* BindingKit::drawing(Handler draw)
{
    draw();
    return new ThrottledDraw(m_app.SyncBox, std::move(draw), this);
}

void BindingKit::label(Label& model, QLabel* label)
{
    auto* path = dynamic_cast<PathLabel*>(label);
    ThrottledDraw* show = drawing([&model, label, path] {
        if (path)
            path->setPath(qText(model.text()));
        else
            label->setText(qText(model.text()));
    });
    follow(model.textChanged, [show](const std::string&) { show->request(); });
}

void BindingKit::text(EditField& model, QLineEdit* edit)
{
    // Set only when it differs, so that the user's own typing keeps its cursor.
    auto show = [this, &model, edit] {
        const QString text = qText(model.text());
        if (edit->text() != text)
            fromModel([&] { edit->setText(text); });
    };
    show();
    follow(model.textChanged, [show](const std::string&) { show(); });
    follow(model.focusRequested, [edit] { edit->setFocus(Qt::OtherFocusReason); });
    connect(edit, &QLineEdit::textEdited, this, [this, &model](const QString& text) {
        user([&] { model.setText(text.toStdString()); });
    });
}

void BindingKit::number(EditField& model, QSpinBox* box, const Handler& changed)
{
    // A text that is no number leaves the box as it is; the model checks what it holds.
    auto show = [this, &model, box] {
        bool isNumber = false;
        const int value = qText(model.text()).toInt(&isNumber);
        if (isNumber && box->value() != value)
            fromModel([&] { box->setValue(value); });
    };
    show();
    follow(model.textChanged, [show](const std::string&) { show(); });
    connect(box, &QSpinBox::valueChanged, this, [this, &model, changed](int value) {
        user([&] {
            model.setText(std::to_string(value));
            changed();
        });
    });
}

void BindingKit::check(CheckBox& model, QAbstractButton* box)
{
    auto show = [this, &model, box] {
        fromModel([&] {
            box->setChecked(model.checked());
            box->setEnabled(model.enabled());
        });
    };
    show();
    follow(model.checkedChanged, [show](bool) { show(); });
    follow(model.enabledChanged, [show](bool) { show(); });
    // An ignored or failed click leaves the mark where the model has it.
    connect(box, &QAbstractButton::clicked, this, [this, &model, show](bool on) {
        if (!user([&] { model.setChecked(on); }))
            show();
    });
}

void BindingKit::radios(RadioGroup& model, const std::vector<QAbstractButton*>& buttons,
                        const std::vector<Handler>& clicked)
{
    auto show = [this, &model, buttons] {
        const auto index = static_cast<std::size_t>(model.checkedIndex());
        if (index < buttons.size())
            fromModel([&] { buttons[index]->setChecked(true); });
    };
    show();
    follow(model.checkedChanged, [show](int) { show(); });
    for (std::size_t i = 0; i < buttons.size() && i < clicked.size(); ++i)
        connect(buttons[i], &QAbstractButton::clicked, this, [this, show, handler = clicked[i]] {
            if (!user(handler))
                show();
        });
}

void BindingKit::combo(ComboBox& model, QComboBox* box, const Handler& chosen)
{
    auto index = [this, &model, box] {
        fromModel([&] { box->setCurrentIndex(model.itemIndex()); });
    };
    auto items = [this, &model, box, index] {
        fromModel([&] {
            box->clear();
            for (const std::string& item : model.items())
                box->addItem(qText(item));
        });
        index();
    };
    // A model without items of its own shows its choice among the view's (the type choice).
    if (model.items().empty())
        index();
    else
        items();
    follow(model.itemsChanged, items);
    follow(model.itemIndexChanged, [index](int) { index(); });
    connect(box, &QComboBox::activated, this, [this, &model, chosen, index](int row) {
        const bool done = user([&] {
            model.setItemIndex(row);
            if (chosen)
                chosen();
        });
        if (!done)
            index();
    });
}

void BindingKit::list(ListBox& model, QListView* view, const Handler& selected,
                      const Handler& doubleClicked)
{
    auto* names = new QStringListModel(view);
    view->setModel(names);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Uniform rows keep a list of 100,000 names quick to lay out.
    view->setUniformItemSizes(true);
    QItemSelectionModel* selection = view->selectionModel();
    auto rowIndex = [names](int row) { return names->index(row); };
    auto reset = [this, &model, names, selection, rowIndex] {
        fromModel([&] {
            QStringList texts;
            texts.reserve(model.count());
            for (const std::string& item : model.items())
                texts << qText(item);
            names->setStringList(texts);
            // Runs of selected items go over as ranges: one change per run, not per item.
            QItemSelection chosen;
            for (int row = 0; row < model.count();) {
                if (!model.selected(row)) {
                    ++row;
                    continue;
                }
                const int first = row;
                while (row < model.count() && model.selected(row))
                    ++row;
                chosen.select(rowIndex(first), rowIndex(row - 1));
            }
            selection->select(chosen, QItemSelectionModel::ClearAndSelect);
            selection->setCurrentIndex(rowIndex(model.itemIndex()), QItemSelectionModel::NoUpdate);
        });
    };
    // During a run every change of the list, the current item moving once per file included,
    // draws the whole list afresh as often as the throttle lets it; otherwise the finer changes
    // go over one by one.
    ThrottledDraw* draw = drawing(reset);
    auto finer = [this, draw](const Handler& change) {
        if (m_app.SyncBox.running || draw->pending())
            draw->request();
        else
            fromModel(change);
    };
    follow(model.reset, [draw] { draw->request(); });
    follow(model.inserted, [&model, names, rowIndex, finer](int row) {
        finer([&] {
            names->insertRows(row, 1);
            names->setData(rowIndex(row), qText(model.item(row)));
        });
    });
    follow(model.removed, [names, finer](int row) { finer([&] { names->removeRows(row, 1); }); });
    follow(model.selectionChanged, [selection, rowIndex, finer](int row, bool on) {
        finer([&] {
            selection->select(rowIndex(row),
                              on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
        });
    });
    follow(model.currentChanged, [&model, selection, rowIndex, finer](int) {
        finer([&] {
            selection->setCurrentIndex(rowIndex(model.itemIndex()), QItemSelectionModel::NoUpdate);
        });
    });
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this, &model, selected](const QItemSelection& on, const QItemSelection& off) {
                user([&] {
                    for (const QModelIndex& index : off.indexes())
                        model.setSelected(index.row(), false);
                    for (const QModelIndex& index : on.indexes())
                        model.setSelected(index.row(), true);
                    if (selected)
                        selected();
                });
            });
    connect(selection, &QItemSelectionModel::currentChanged, this,
            [this, &model](const QModelIndex& current) {
                if (current.isValid())
                    user([&] { model.setItemIndex(current.row()); });
            });
    if (doubleClicked)
        connect(view, &QAbstractItemView::doubleClicked, this,
                [this, doubleClicked] { user(doubleClicked); });
    keyboardList(view);
}

void BindingKit::directory(DirectoryView& model, QListWidget* view)
{
    // Looked up once: the style's icon lookup goes through the icon theme, and a Sync All
    // refills the source view for every directory it walks.
    const QIcon open = view->style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = view->style()->standardIcon(QStyle::SP_DirIcon);
    QFont bold = view->font();
    bold.setBold(true);
    view->setIconSize(QSize(16, 16));
    auto fill = [this, &model, view, open, closed, bold] {
        fromModel([&] {
            view->clear();
            const int here = model.directoryPosition();
            const int count = model.count();
            for (int i = 0; i < count; ++i) {
                // The chain indented by depth down to the current directory, which alone is
                // drawn open and in bold, whichever entry is highlighted; its subdirectories
                // one level below it.
                const QString path = qText(model.entryPath(i));
                const QString name = QFileInfo(path).fileName();
                auto* item = new QListWidgetItem(
                    i == here ? open : closed,
                    QString(qsizetype{std::min(i, here + 1)} * 2, QLatin1Char(' ')) +
                        (name.isEmpty() ? path : name),
                    view);
                item->setToolTip(path);
                if (i == here)
                    item->setFont(bold);
            }
            view->setCurrentRow(model.itemIndex());
        });
    };
    // A run moves the source view once per directory; the whole view is drawn afresh, as
    // often as the throttle lets it.
    ThrottledDraw* draw = drawing(fill);
    follow(model.directoryChanged, [draw](const std::string&) { draw->request(); });
    follow(model.listingChanged, [draw] { draw->request(); });
    follow(model.currentChanged, [this, draw, view](int index) {
        if (m_app.SyncBox.running)
            draw->request();
        else if (!draw->pending())
            fromModel([&] { view->setCurrentRow(index); });
    });
    connect(view, &QListWidget::currentRowChanged, this, [this, &model](int row) {
        if (row >= 0)
            user([&] { model.setItemIndex(row); });
    });
    connect(view, &QListWidget::itemActivated, this, [this, &model, view](QListWidgetItem* item) {
        const int row = view->row(item);
        user([&] {
            model.setItemIndex(row);
            model.openCurrent();
        });
    });
    keyboardList(view);
}

void BindingKit::press(QObject* control, const Handler& handler)
{
    auto run = [this, handler] { user(handler); };
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        connect(button, &QAbstractButton::clicked, this, run);
    else if (auto* action = qobject_cast<QAction*>(control))
        connect(action, &QAction::triggered, this, run);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        connect(edit, &QLineEdit::returnPressed, this, run);
    else
        throw std::logic_error(std::string("Nothing to press on a ") +
                               control->metaObject()->className());
}

void BindingKit::rejected(QDialog* dialog, const Handler& handler)
{
    connect(dialog, &QDialog::rejected, this, [this, handler] { user(handler); });
}

void BindingKit::popup(QAbstractItemView* view, QMenu* menu)
{
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area gives the mouse's position in its viewport.
    connect(view, &QWidget::customContextMenuRequested, menu,
            [view, menu](const QPoint& at) { menu->exec(view->viewport()->mapToGlobal(at)); });
    // From the keyboard the menu opens at the current entry, or at the list's corner when
    // that entry is out of sight. The Menu key comes as a key or, on X11, as a context menu
    // event of its own (placed at the mouse pointer) before the key.
    auto openAtCurrent = [view, menu] {
        const QRect current = view->visualRect(view->currentIndex());
        const bool seen = current.isValid() && view->viewport()->rect().contains(current.center());
        menu->exec(view->viewport()->mapToGlobal(seen ? current.bottomLeft() : QPoint(0, 0)));
    };
    onEvent(view, QEvent::KeyPress, [openAtCurrent](QEvent* event) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool menuKey = (key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) ||
                             (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        if (menuKey)
            openAtCurrent();
        return menuKey;
    });
    onEvent(view, QEvent::ContextMenu, [openAtCurrent](QEvent* event) {
        const bool keyboard =
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
        if (keyboard)
            openAtCurrent();
        return keyboard;
    });
}

void BindingKit::keyboardList(QAbstractItemView* view)
{
    view->setStyleSheet(FocusMark);
    onEvent(view, QEvent::KeyPress, [this, view](QEvent* event) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (typed.isEmpty() || !typed.front().isPrint() || typed.front().isSpace() ||
            (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != 0)
            return false;
        jumpToTyped(view, typed);
        return true;
    });
}

void BindingKit::jumpToTyped(QAbstractItemView* view, const QString& typed)
{
    // Letters typed in quick succession make one prefix; the same letter again and again
    // moves on from entry to entry that starts with it.
    if (m_typedIn != view || !m_sinceTyped.isValid() ||
        m_sinceTyped.hasExpired(QApplication::keyboardInputInterval()))
        m_typed.clear();
    m_typedIn = view;
    m_sinceTyped.start();
    m_typed += typed;
    const bool repeated = m_typed.count(m_typed.front()) == m_typed.size();
    const QString prefix = repeated ? m_typed.left(1) : m_typed;
    const QAbstractItemModel* rows = view->model();
    const int count = rows->rowCount();
    const int current = view->currentIndex().row();
    // A longer prefix may still fit the current entry; a repeated letter looks past it.
    const int first = repeated ? current + 1 : std::max(current, 0);
    for (int step = 0; step < count; ++step) {
        const QModelIndex index = rows->index((first + step) % count, 0);
        if (searchName(index.data().toString()).startsWith(prefix, Qt::CaseInsensitive)) {
            view->setCurrentIndex(index);
            view->scrollTo(index);
            return;
        }
    }
}

void BindingKit::onEvent(QObject* target, QEvent::Type type, std::function<bool(QEvent*)> handle)
{
    target->installEventFilter(this);
    m_hooks.push_back({target, type, std::move(handle)});
}

bool BindingKit::eventFilter(QObject* watched, QEvent* event)
{
    for (const EventHook& hook : m_hooks)
        if (hook.target == watched && hook.type == event->type() && hook.handle(event))
            return true;
    return false;
}

} // namespace twinfold
