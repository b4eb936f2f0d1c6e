#pragma once
// Controls with the classic semantics the windows rely on. Each wraps one Qt widget placed on a
// window's surface (or inside a frame), addressed in twips. Handlers are std::function members,
// settable any time; every handler runs inside a HandlerScope of the owning window.
//
// Rules shared by the value-holding controls: setting a value from code runs the change handler
// exactly as a user's choice would; setting the value already held runs nothing.
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/form_widget.h"
#include "platform/ui/twips.h"
#include "platform/ui/window.h"

class QCheckBox;
class QComboBox;
class QFont;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace sq {

// Mouse buttons and shift state as the classic mouse events give them.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// The classic Shift argument of key and mouse events: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers);

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    [[nodiscard]] QWidget* widget() const { return m_widget; }

    // Position and size in twips relative to the parent. Negative width/height keep the current one.
    void Move(double left, double top, double width = -1, double height = -1);
    void Move(const TwipsRect& rect);
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    [[nodiscard]] double Left() const;
    [[nodiscard]] double Top() const;
    [[nodiscard]] double Width() const;
    [[nodiscard]] double Height() const;
    // Docks the control along an edge of its window's surface (toolbars, status bars, side bars).
    void setAlign(Align align);

    void setEnabled(bool on);
    [[nodiscard]] bool Enabled() const;
    void setVisible(bool on);
    [[nodiscard]] bool Visible() const;  // its own flag, whether or not the window is shown
    void setToolTipText(const std::string& text);
    [[nodiscard]] std::string ToolTipText() const;
    void setFont(const QFont& font);
    [[nodiscard]] QFont font() const;
    void SetFocus();
    [[nodiscard]] bool hasFocus() const;
    void ZOrder();  // brings the control to the front

    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;

protected:
    explicit Control(QWidget* widget);
    // Runs `handler` with `args` inside a handler scope of the owning window; an empty one runs nothing.
    template <class F, class... A>
    void fire(const F& handler, A&&... args) const {
        if (!handler) return;
        F copy = handler;  // the handler may replace itself while it runs
        HandlerScope scope(m_widget.data());
        copy(std::forward<A>(args)...);
    }
    // Event hook for subclasses (key filters, clicks); return true to eat the event.
    virtual bool filterEvent(QEvent* event) { return false; }

private:
    friend class ControlEventTap;
    bool tapEvent(QObject* watched, QEvent* event);
    QPointer<QWidget> m_widget;
};

// ---------------------------------------------------------------------------------------------

class Label : public Control {
public:
    explicit Label(QWidget* parent, const std::string& caption = {});
    void setCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const;
    void setAlignment(Qt::Alignment alignment);
    void setWordWrap(bool on);
    std::function<void()> onClick;
    std::function<void()> onDblClick;

protected:
    bool filterEvent(QEvent* event) override;

private:
    QLabel* label() const;
};

class CommandButton : public Control {
public:
    explicit CommandButton(QWidget* parent, const std::string& caption = {});
    void setCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const;
    // Runs the click as a user's click would (nothing when disabled).
    void click();
    std::function<void()> onClick;
};

// A frame with a caption in its border; a container for other controls (use widget() as parent).
class Frame : public Control {
public:
    explicit Frame(QWidget* parent, const std::string& caption = {});
    void setCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const;
};

// A 3-D panel: a bevelled container with an optional caption drawn in its middle.
class Panel3D : public Control {
public:
    enum class Bevel { None, Raised, Inset };
    explicit Panel3D(QWidget* parent, const std::string& caption = {}, Bevel bevel = Bevel::Raised);
    void setCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const;
    void setBackColor(int red, int green, int blue);
    std::function<void()> onClick;

protected:
    bool filterEvent(QEvent* event) override;

private:
    QLabel* m_caption;
};

class ProgressBar : public Control {
public:
    explicit ProgressBar(QWidget* parent);
    void setMin(int value);
    void setMax(int value);
    // Raises VbError(380) outside Min..Max.
    void setValue(int value);
    [[nodiscard]] int Min() const;
    [[nodiscard]] int Max() const;
    [[nodiscard]] int Value() const;
};

// Check box holding 0 (clear), 1 (checked) or 2 (grey). The click handler runs on every change,
// from code too; a user's click makes 1 from 0 or 2, and 0 from 1.
class CheckBox : public Control {
public:
    explicit CheckBox(QWidget* parent, const std::string& caption = {});
    void setCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const;
    // Raises VbError(380) for anything but 0, 1, 2 and changes nothing.
    void setValue(int value);
    [[nodiscard]] int Value() const { return m_value; }
    // A user's click (nothing when disabled).
    void click();
    std::function<void()> onClick;

private:
    friend class CheckWidget;
    void show(int value);
    int m_value = 0;
};

class OptionGroup;

// One option button of a group; its value is True only for the group's selected button.
class OptionButton : public Control {
public:
    void setCaption(const std::string& caption);
    [[nodiscard]] std::string Caption() const;
    [[nodiscard]] bool Value() const;
    // True selects this button (clearing the others); False clears it, leaving none selected.
    void setValue(bool on);
    void click();  // a user's click
    std::function<void()> onClick;

private:
    friend class OptionGroup;
    friend class RadioWidget;
    OptionButton(QWidget* parent, OptionGroup* group, int index, const std::string& caption);
    void show(bool on);
    OptionGroup* m_group;
    int m_index;
};

// Option buttons that exclude each other but can have none selected (unlike QButtonGroup). The
// click handler of the newly selected button runs (and the group's), from code too; clearing runs nothing.
class OptionGroup {
public:
    OptionGroup() = default;
    OptionGroup(const OptionGroup&) = delete;
    OptionGroup& operator=(const OptionGroup&) = delete;

    // Adds button `count()` with its parent widget.
    OptionButton& add(QWidget* parent, const std::string& caption = {});
    [[nodiscard]] int count() const { return static_cast<int>(m_buttons.size()); }
    // Button i (0-based, as the classic control array); raises VbError(9) out of range.
    OptionButton& operator[](int index);
    [[nodiscard]] int selected() const { return m_selected; }  // -1: none
    // Selects button `index`, or none with -1; raises VbError(380) outside -1..count-1.
    void select(int index);
    std::function<void(int index)> onClick;

private:
    friend class OptionButton;
    std::vector<std::unique_ptr<OptionButton>> m_buttons;
    int m_selected = -1;
};

// Per-box treatment of typed keys, applied before the key-press handler.
enum class KeyFilter {
    None,
    SwallowAll,  // nothing can be typed
    DigitsOnly,  // digits and Backspace
};

// Single-line text box. MaxLength limits typing (and pasting) only, never text set by code; 0 means
// no limit. The change handler runs whenever the text changes, from code too. The key-press handler
// gets the character code (8 Backspace, 13 Enter) and may set it to 0 to swallow the key or to
// another code to type that instead.
class TextBox : public Control {
public:
    explicit TextBox(QWidget* parent, const std::string& text = {});
    void setText(const std::string& text);
    [[nodiscard]] std::string Text() const;
    void setMaxLength(int length);
    [[nodiscard]] int MaxLength() const { return m_maxLength; }
    void setKeyFilter(KeyFilter filter) { m_filter = filter; }
    void setLocked(bool on);
    void setAlignment(Qt::Alignment alignment);
    void setSelStart(int position);
    void setSelLength(int length);
    [[nodiscard]] int SelStart() const;
    [[nodiscard]] int SelLength() const;
    // Types `text` as a user would, key by key (tests).
    void type(const std::string& text);

    std::function<void()> onChange;
    std::function<void(int& keyAscii)> onKeyPress;

protected:
    bool filterEvent(QEvent* event) override;

private:
    QLineEdit* edit() const;
    void userEdited();
    bool typeKey(int code);
    int m_maxLength = 0;
    KeyFilter m_filter = KeyFilter::None;
    QString m_lastText;
};

enum class ComboStyle {
    ListOnly,  // a drop-down list; typed characters are swallowed
    Typeable,  // a drop-down combo whose text can be typed
};

// Combo list whose list position is its value. Adding items selects nothing; Clear runs no handler;
// setting the index it holds runs nothing; every other change of ListIndex (-1 included, from code
// or by the user) runs the click handler at once, and handlers may set other lists (or this one)
// again. A user's choice of the item already selected changes nothing and runs onChooseAgain.
// An index outside -1..ListCount-1 raises VbError(380) and changes nothing.
class ComboList : public Control {
public:
    explicit ComboList(QWidget* parent, ComboStyle style = ComboStyle::ListOnly);
    void AddItem(const std::string& text, int index = -1);
    // Raises VbError(5) outside 0..ListCount-1. Removing the selected item leaves none selected.
    void RemoveItem(int index);
    void Clear();
    [[nodiscard]] int ListCount() const;
    // Raises VbError(381) outside 0..ListCount-1.
    [[nodiscard]] std::string List(int index) const;
    void setList(int index, const std::string& text);
    void setListIndex(int index);
    [[nodiscard]] int ListIndex() const { return m_index; }
    // The selected item's text (list-only) or the edit text (typeable).
    [[nodiscard]] std::string Text() const;
    // Typeable: sets the edit text. List-only: selects the item with that text; raises VbError(383)
    // when there is none.
    void setText(const std::string& text);
    [[nodiscard]] ComboStyle style() const { return m_style; }
    // A user's choice of item `index` from the drop-down (tests): the list changes, then reports
    // the choice, as the drop-down does.
    void choose(int index);

    std::function<void()> onClick;        // the selection changed
    std::function<void()> onChooseAgain;  // the user chose the item already selected
    std::function<void()> onChange;       // typeable: the text was edited
    std::function<void(int& keyAscii)> onKeyPress;

protected:
    bool filterEvent(QEvent* event) override;

private:
    QComboBox* box() const;
    void userIndexChanged(int index);
    void userActivated(int index);
    void showIndex(int index);
    ComboStyle m_style;
    int m_index = -1;
    bool m_quiet = false;
    int m_userChangedTo = -2;  // the user's last change of item, until the choice that made it arrives
};

}  // namespace sq
