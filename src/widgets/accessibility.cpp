// The accessible interfaces of the program's own widgets. A widget the
// toolkit does not know would reach a screen reader as a nameless "filler";
// the factory below gives each of ours its role, name and, for counters, a
// value. Game boards are tables of cells; a window names its cells, lamps
// and counters through their accessible names, which is all the game-specific
// knowledge there is.
#include "accessibility.h"

#include "tboard.h"
#include "tdigitaldisplay.h"
#include "tflatspeedbutton.h"
#include "tform.h"
#include "themispherebutton.h"
#include "timage.h"
#include "tindicatorrow.h"
#include "tpanel.h"
#include "tshadowlabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace {

// A caption's text as read: the access-key ampersands dropped, "&&" kept as one.
QString withoutAmpersands(const QString& caption)
{
    QString text;
    text.reserve(caption.size());
    for (int i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&') {
            if (i + 1 < caption.size() && caption.at(i + 1) == u'&')
                text.append(caption.at(++i));
            continue;
        }
        text.append(caption.at(i));
    }
    return text;
}

// The characters a digital display shows, its colour escapes left out.
QString shownText(const QString& text)
{
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'~') {
            shown.append(text.at(i));
        } else if (i + 1 < text.size() && text.at(i + 1) == u'[') {
            const int close = text.indexOf(u']', i + 2);
            i = close < 0 ? text.size() : close;
        } else {
            ++i; // the colour letter, or whatever follows the tilde
        }
    }
    return shown;
}

// A counter reads as its number ("042" is 42); any other text as it stands.
QVariant displayValue(const TDigitalDisplay* display)
{
    const QString shown = shownText(display->text()).trimmed();
    bool number = false;
    const int value = shown.toInt(&number, 10);
    return number ? QVariant(value) : QVariant(shown);
}

class FlatButtonAccessible : public QAccessibleWidget {
public:
    explicit FlatButtonAccessible(TFlatSpeedButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }
    TFlatSpeedButton* button() const { return static_cast<TFlatSpeedButton*>(widget()); }

    // Named by its caption, or by its hint when it has none.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty()) {
            const QString caption = withoutAmpersands(button()->caption());
            return caption.isEmpty() ? button()->toolTip() : caption;
        }
        if (t == QAccessible::Description && button()->accessibleDescription().isEmpty()
            && !button()->caption().isEmpty())
            return button()->toolTip();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (button()->groupIndex() != 0) {
            s.checkable = true;
            s.checked = button()->isDown();
        }
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction()) {
            if (button()->isEnabled())
                button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
};

class HemisphereAccessible : public QAccessibleWidget {
public:
    // A lamp in a row of indicators reads as a picture of its state (the
    // desktop bridge knows no indicator role), any other as the button it is.
    explicit HemisphereAccessible(THemisphereButton* button)
        : QAccessibleWidget(button, qobject_cast<TIndicatorRow*>(button->parentWidget()) ? QAccessible::Graphic
                                                                                         : QAccessible::Button)
    {
    }
    THemisphereButton* button() const { return static_cast<THemisphereButton*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty()) {
            const QString caption = withoutAmpersands(button()->caption());
            return caption.isEmpty() ? button()->toolTip() : caption;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (role() == QAccessible::Button && button()->groupIndex() != 0) {
            s.checkable = true;
            s.checked = button()->isDown();
        }
        return s;
    }
    QStringList actionNames() const override
    {
        if (role() != QAccessible::Button)
            return QAccessibleWidget::actionNames();
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && role() == QAccessible::Button) {
            if (button()->isEnabled())
                emit button()->clicked();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
};

// A counter: "Время: 42" when its window has named it "Время", with the
// number as its value.
class DisplayAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit DisplayAccessible(TDigitalDisplay* display)
        : QAccessibleWidget(display, QAccessible::StaticText)
    {
    }
    TDigitalDisplay* display() const { return static_cast<TDigitalDisplay*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name && t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        const QString value = displayValue(display()).toString();
        if (t == QAccessible::Value || display()->accessibleName().isEmpty())
            return value;
        return display()->accessibleName() + QStringLiteral(": ") + value;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QVariant currentValue() const override { return displayValue(display()); }
    void setCurrentValue(const QVariant&) override {} // it shows; nobody sets it from outside
    QVariant maximumValue() const override { return QVariant(); }
    QVariant minimumValue() const override { return QVariant(); }
    QVariant minimumStepSize() const override { return QVariant(); }
};

class ShadowLabelAccessible : public QAccessibleWidget {
public:
    explicit ShadowLabelAccessible(TShadowLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        auto* label = static_cast<TShadowLabel*>(widget());
        if (t == QAccessible::Name && label->accessibleName().isEmpty())
            return label->showAccelChar() ? withoutAmpersands(label->caption()) : label->caption();
        return QAccessibleWidget::text(t);
    }
};

// A panel that holds controls is a group of them; a bare one reads as the
// caption it shows.
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(TPanel* panel)
        : QAccessibleWidget(panel, QAccessible::Grouping)
    {
    }
    TPanel* panel() const { return static_cast<TPanel*>(widget()); }

    QAccessible::Role role() const override
    {
        return childCount() == 0 && !panel()->caption().isEmpty() ? QAccessible::StaticText : QAccessible::Grouping;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && panel()->accessibleName().isEmpty() && role() == QAccessible::StaticText)
            return panel()->caption();
        return QAccessibleWidget::text(t);
    }
};

// A window: a dialog when it is one or is shown modally, otherwise a frame.
// Qt would report a plain top-level widget as a nameless client area.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(TForm* form)
        : QAccessibleWidget(form, QAccessible::Window)
    {
    }
    QAccessible::Role role() const override
    {
        auto* form = static_cast<TForm*>(widget());
        return form->borderStyle() == bsDialog || form->inModal() ? QAccessible::Dialog : QAccessible::Window;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.modal = static_cast<TForm*>(widget())->inModal();
        return s;
    }
};

// The area under a window's title and menu bars. It takes the focus on a
// click only to pull the keys back from a menu bar; a screen reader has
// nothing to focus there.
class ClientAreaAccessible : public QAccessibleWidget {
public:
    explicit ClientAreaAccessible(QWidget* client)
        : QAccessibleWidget(client, QAccessible::Client)
    {
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = false;
        s.focused = false;
        return s;
    }
};

class BoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit BoardAccessible(TBoard* board)
        : QAccessibleWidget(board, QAccessible::Table)
    {
    }
    TBoard* board() const { return static_cast<TBoard*>(widget()); }

    // The children are the cells, row by row; the focus frame is none.
    int childCount() const override { return board()->rows() * board()->columns(); }
    QAccessibleInterface* child(int index) const override
    {
        return QAccessible::queryAccessibleInterface(board()->cell(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? board()->indexOf(child->object()) : -1;
    }
    QAccessibleInterface* focusChild() const override
    {
        return board()->hasFocus() ? child(board()->focusCell()) : nullptr;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return child(row * columnCount() + column);
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override
    {
        return TBoard::columnName(column);
    }
    QString rowDescription(int row) const override { return QString::number(row + 1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return board()->columns(); }
    int rowCount() const override { return board()->rows(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}
};

// A cell of a board, named by its window. It is there whether its control
// shows or not: the fifteen puzzle's gap is a cell called empty.
class BoardCellAccessible : public QAccessibleWidget, public QAccessibleTableCellInterface {
public:
    BoardCellAccessible(QWidget* cell, TBoard* board)
        : QAccessibleWidget(cell, QAccessible::Cell)
        , m_board(board)
    {
    }

    int index() const { return m_board ? m_board->indexOf(widget()) : -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty() && m_board && index() >= 0)
            return TBoard::coordinate(rowIndex(), columnIndex());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (m_board) {
            s.invisible = !m_board->isVisible();
            s.offscreen = s.invisible;
            s.focusable = true;
            s.focused = m_board->hasFocus() && m_board->focusCell() == index();
            s.active = s.focused;
        }
        return s;
    }
    // Whatever lies on a cell (a tile's number) is part of its name.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& action) override
    {
        if (!m_board)
            return;
        if (action == pressAction()) {
            m_board->activateCell(index());
        } else if (action == setFocusAction()) {
            m_board->setFocus(Qt::OtherFocusReason);
            m_board->setFocusCell(index());
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_board ? qMax(0, index()) % m_board->columns() : 0; }
    int rowIndex() const override { return m_board ? qMax(0, index()) / m_board->columns() : 0; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return QAccessible::queryAccessibleInterface(m_board.data()); }

private:
    QPointer<TBoard> m_board;
};

QAccessibleInterface* factory(const QString& key, QObject* object)
{
    // Asked once for each class from the most derived up: answer the first.
    if (!object || !object->isWidgetType() || key != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (auto* board = qobject_cast<TBoard*>(w->parentWidget()); board && board->indexOf(w) >= 0)
        return new BoardCellAccessible(w, board);
    if (auto* board = qobject_cast<TBoard*>(w))
        return new BoardAccessible(board);
    if (auto* button = qobject_cast<TFlatSpeedButton*>(w))
        return new FlatButtonAccessible(button);
    if (auto* button = qobject_cast<THemisphereButton*>(w))
        return new HemisphereAccessible(button);
    if (auto* display = qobject_cast<TDigitalDisplay*>(w))
        return new DisplayAccessible(display);
    if (auto* label = qobject_cast<TShadowLabel*>(w))
        return new ShadowLabelAccessible(label);
    if (qobject_cast<TWallpaper*>(w))
        return new QAccessibleWidget(w, QAccessible::Pane);
    if (auto* panel = qobject_cast<TPanel*>(w))
        return new PanelAccessible(panel);
    if (qobject_cast<TBevel*>(w))
        return new QAccessibleWidget(w, QAccessible::Separator);
    if (qobject_cast<TImage*>(w))
        return new QAccessibleWidget(w, QAccessible::Graphic);
    if (qobject_cast<TIndicatorRow*>(w))
        return new QAccessibleWidget(w, QAccessible::Grouping);
    if (auto* form = qobject_cast<TForm*>(w))
        return new FormAccessible(form);
    if (auto* form = qobject_cast<TForm*>(w->parentWidget()); form && form->clientArea() == w)
        return new ClientAreaAccessible(w);
    return nullptr;
}

// Spaces out a counter's notices: one at once, the next no sooner than a
// second later, carrying the value of that moment.
class ValueNotice : public QObject {
public:
    explicit ValueNotice(QWidget* widget)
        : QObject(widget)
        , m_widget(widget)
    {
        setObjectName(QStringLiteral("qt_accessibility_valuenotice"));
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] { send(); });
    }
    void changed()
    {
        constexpr qint64 interval = 1000;
        if (!m_last.isValid() || m_last.elapsed() >= interval)
            send();
        else if (!m_timer.isActive())
            m_timer.start(int(interval - m_last.elapsed()));
    }

private:
    void send()
    {
        m_last.start();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(m_widget);
        if (!iface)
            return;
        if (QAccessibleValueInterface* value = iface->valueInterface()) {
            QAccessibleValueChangeEvent event(m_widget, value->currentValue());
            QAccessible::updateAccessibility(&event);
        }
        QAccessibleEvent event(m_widget, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }

    QWidget* m_widget;
    QElapsedTimer m_last;
    QTimer m_timer;
};

} // namespace

namespace accessibility {

void install()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        installed = true;
    }
}

void setName(QWidget* widget, const QString& name)
{
    // The toolkit tells of every assignment, also of the same name again.
    if (widget && widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

void nameChanged(QObject* object)
{
    if (!object || !QAccessible::isActive())
        return;
    QAccessibleEvent event(object, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void valueChanged(QWidget* widget)
{
    if (!widget || !QAccessible::isActive())
        return;
    auto* notice = widget->findChild<ValueNotice*>(QString(), Qt::FindDirectChildrenOnly);
    if (!notice)
        notice = new ValueNotice(widget);
    notice->changed();
}

} // namespace accessibility
