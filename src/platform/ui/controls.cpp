#include "platform/ui/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "platform/ui/twips.h"
#include "platform/vb_error.h"

namespace sq {

int shiftState(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= 1;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    return shift;
}

// Forwards the events of a control's widget to the control.
class ControlEventTap : public QObject {
public:
    ControlEventTap(Control* control, QObject* parent) : QObject(parent), m_control(control) {}
    void detach() { m_control = nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return m_control && m_control->tapEvent(watched, event);
    }

private:
    Control* m_control;
};

namespace {
QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
std::string ss(const QString& text) {
    return text.toStdString();
}

FormWidget* formOf(QWidget* widget) {
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* form = qobject_cast<FormWidget*>(w)) return form;
    return nullptr;
}

// The character code of a key press as the classic key-press event gives it; 0 for keys without one.
int keyAsciiOf(const QKeyEvent* key) {
    QString text = key->text();
    if (text.size() != 1) return 0;
    return text.at(0).unicode();
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Control

Control::Control(QWidget* widget) : m_widget(widget) {
    auto* tap = new ControlEventTap(this, widget);
    widget->installEventFilter(tap);
    widget->setProperty("sqTap", QVariant::fromValue(static_cast<QObject*>(tap)));
}

Control::~Control() {
    if (!m_widget) return;
    if (auto* tap = dynamic_cast<ControlEventTap*>(m_widget->property("sqTap").value<QObject*>()))
        tap->detach();
    delete m_widget.data();
}

bool Control::tapEvent(QObject* watched, QEvent* event) {
    // Inner widgets (a combo's edit line) share the tap for their keys; focus counts only once.
    if (watched != m_widget) return filterEvent(event);
    switch (event->type()) {
        case QEvent::FocusIn:
            fire(onGotFocus);
            break;
        case QEvent::FocusOut:
            fire(onLostFocus);
            break;
        default:
            break;
    }
    return filterEvent(event);
}

void Control::Move(double left, double top, double width, double height) {
    QRect g = m_widget->geometry();
    m_widget->setGeometry(toPixels(left), toPixels(top), width < 0 ? g.width() : toPixels(width),
                          height < 0 ? g.height() : toPixels(height));
}

void Control::Move(const TwipsRect& rect) {
    Move(rect.left, rect.top, rect.width, rect.height);
}

void Control::setLeft(double twips) {
    Move(twips, Top());
}
void Control::setTop(double twips) {
    Move(Left(), twips);
}
void Control::setWidth(double twips) {
    Move(Left(), Top(), twips);
}
void Control::setHeight(double twips) {
    Move(Left(), Top(), -1, twips);
}
double Control::Left() const {
    return toTwips(m_widget->x());
}
double Control::Top() const {
    return toTwips(m_widget->y());
}
double Control::Width() const {
    return toTwips(m_widget->width());
}
double Control::Height() const {
    return toTwips(m_widget->height());
}

void Control::setAlign(Align align) {
    if (FormWidget* form = formOf(m_widget)) form->dock(m_widget, align);
}

void Control::setEnabled(bool on) {
    m_widget->setEnabled(on);
}
bool Control::Enabled() const {
    return m_widget->isEnabled();
}
void Control::setVisible(bool on) {
    m_widget->setVisible(on);
}
bool Control::Visible() const {
    return !m_widget->isHidden();
}
void Control::setToolTipText(const std::string& text) {
    m_widget->setToolTip(qs(text));
}
std::string Control::ToolTipText() const {
    return ss(m_widget->toolTip());
}
void Control::setFont(const QFont& font) {
    m_widget->setFont(font);
}
QFont Control::font() const {
    return m_widget->font();
}
void Control::SetFocus() {
    m_widget->setFocus(Qt::OtherFocusReason);
}
bool Control::hasFocus() const {
    return m_widget->hasFocus();
}
void Control::ZOrder() {
    m_widget->raise();
}

// ---------------------------------------------------------------------------------------------
// Label, CommandButton, Frame, Panel3D, ProgressBar

Label::Label(QWidget* parent, const std::string& caption) : Control(new QLabel(qs(caption), parent)) {}
QLabel* Label::label() const {
    return static_cast<QLabel*>(widget());
}
void Label::setCaption(const std::string& caption) {
    label()->setText(qs(caption));
}
std::string Label::Caption() const {
    return ss(label()->text());
}
void Label::setAlignment(Qt::Alignment alignment) {
    label()->setAlignment(alignment);
}
void Label::setWordWrap(bool on) {
    label()->setWordWrap(on);
}

bool Label::filterEvent(QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && Enabled()) fire(onClick);
    if (event->type() == QEvent::MouseButtonDblClick && Enabled()) fire(onDblClick);
    return false;
}

namespace {

// The part of `w` it may draw on: inside the bevel of the framed panel it stands in, with one pixel
// of the panel's background between, so that the panel's edge and the control's own border both
// show where the window places the control flush with the panel's edge. In `w`'s coordinates.
QRect clearOfPanelBorder(const QWidget& w) {
    const auto* panel = qobject_cast<const QFrame*>(w.parentWidget());
    if (!panel || panel->frameWidth() == 0) return w.rect();
    const QRect room = panel->contentsRect().adjusted(1, 1, -1, -1);
    const QRect clear = w.geometry().intersected(room);
    return clear.isEmpty() ? w.rect() : clear.translated(-w.pos());
}

// A push button drawn clear of its panel's border; its place and size, as the window gave them,
// stay as they are.
class PanelButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.rect = clearOfPanelBorder(*this);
        painter.drawControl(QStyle::CE_PushButton, option);
    }
};

}  // namespace

CommandButton::CommandButton(QWidget* parent, const std::string& caption)
    : Control(new PanelButton(qs(caption), parent)) {
    QObject::connect(static_cast<QPushButton*>(widget()), &QPushButton::clicked, [this] { fire(onClick); });
}
void CommandButton::setCaption(const std::string& caption) {
    static_cast<QPushButton*>(widget())->setText(qs(caption));
}
std::string CommandButton::Caption() const {
    return ss(static_cast<QPushButton*>(widget())->text());
}
void CommandButton::click() {
    if (widget()->isEnabled()) static_cast<QPushButton*>(widget())->click();
}

Frame::Frame(QWidget* parent, const std::string& caption) : Control(new QGroupBox(qs(caption), parent)) {}
void Frame::setCaption(const std::string& caption) {
    static_cast<QGroupBox*>(widget())->setTitle(qs(caption));
}
std::string Frame::Caption() const {
    return ss(static_cast<QGroupBox*>(widget())->title());
}

Panel3D::Panel3D(QWidget* parent, const std::string& caption, Bevel bevel) : Control(new QFrame(parent)) {
    auto* frame = static_cast<QFrame*>(widget());
    // Opaque, as a classic 3-D panel: one laid over a grid hides the grid's text under it.
    frame->setAutoFillBackground(true);
    switch (bevel) {
        case Bevel::None:
            frame->setFrameStyle(QFrame::NoFrame);
            break;
        case Bevel::Raised:
            frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
            break;
        case Bevel::Inset:
            frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            break;
    }
    // The caption fills the panel under the child controls; no layout, so the panel keeps every size
    // the window gives it, however long the caption.
    m_caption = new QLabel(qs(caption), frame);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_caption->setGeometry(frame->rect());
    m_caption->lower();
}
void Panel3D::setCaption(const std::string& caption) {
    m_caption->setText(qs(caption));
}
std::string Panel3D::Caption() const {
    return ss(m_caption->text());
}
void Panel3D::setBackColor(int red, int green, int blue) {
    widget()->setAutoFillBackground(true);
    QPalette palette = widget()->palette();
    palette.setColor(QPalette::Window, QColor(red, green, blue));
    widget()->setPalette(palette);
}
bool Panel3D::filterEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) m_caption->setGeometry(widget()->rect());
    if (event->type() == QEvent::MouseButtonRelease && Enabled()) fire(onClick);
    return false;
}

ProgressBar::ProgressBar(QWidget* parent) : Control(new QProgressBar(parent)) {
    auto* bar = static_cast<QProgressBar*>(widget());
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
}
void ProgressBar::setMin(int value) {
    static_cast<QProgressBar*>(widget())->setMinimum(value);
}
void ProgressBar::setMax(int value) {
    static_cast<QProgressBar*>(widget())->setMaximum(value);
}
void ProgressBar::setValue(int value) {
    if (value < Min() || value > Max()) raise(kInvalidPropertyValue);
    static_cast<QProgressBar*>(widget())->setValue(value);
}
int ProgressBar::Min() const {
    return static_cast<QProgressBar*>(widget())->minimum();
}
int ProgressBar::Max() const {
    return static_cast<QProgressBar*>(widget())->maximum();
}
int ProgressBar::Value() const {
    return static_cast<QProgressBar*>(widget())->value();
}

// ---------------------------------------------------------------------------------------------
// CheckBox

// A check box whose user clicks go through the owning CheckBox instead of Qt's own state cycle.
class CheckWidget : public QCheckBox {
public:
    CheckWidget(CheckBox* owner, const QString& text, QWidget* parent)
        : QCheckBox(text, parent), m_owner(owner) {}

protected:
    void nextCheckState() override { m_owner->setValue(m_owner->Value() == 1 ? 0 : 1); }

private:
    CheckBox* m_owner;
};

CheckBox::CheckBox(QWidget* parent, const std::string& caption)
    : Control(new CheckWidget(this, qs(caption), parent)) {
    static_cast<QCheckBox*>(widget())->setTristate(true);
}
void CheckBox::setCaption(const std::string& caption) {
    static_cast<QCheckBox*>(widget())->setText(qs(caption));
}
std::string CheckBox::Caption() const {
    return ss(static_cast<QCheckBox*>(widget())->text());
}

void CheckBox::show(int value) {
    static const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    static_cast<QCheckBox*>(widget())->setCheckState(states[value]);
}

void CheckBox::setValue(int value) {
    if (value < 0 || value > 2) raise(kInvalidPropertyValue);
    if (value == m_value) return;
    m_value = value;
    show(value);
    fire(onClick);
}

void CheckBox::click() {
    if (widget()->isEnabled()) static_cast<QCheckBox*>(widget())->click();
}

// ---------------------------------------------------------------------------------------------
// Option buttons

class RadioWidget : public QRadioButton {
public:
    RadioWidget(OptionButton* owner, const QString& text, QWidget* parent)
        : QRadioButton(text, parent), m_owner(owner) {
        setAutoExclusive(false);
    }

protected:
    void nextCheckState() override { m_owner->setValue(true); }

private:
    OptionButton* m_owner;
};

OptionButton::OptionButton(QWidget* parent, OptionGroup* group, int index, const std::string& caption)
    : Control(new RadioWidget(this, qs(caption), parent)), m_group(group), m_index(index) {}

void OptionButton::setCaption(const std::string& caption) {
    static_cast<QRadioButton*>(widget())->setText(qs(caption));
}
std::string OptionButton::Caption() const {
    return ss(static_cast<QRadioButton*>(widget())->text());
}
bool OptionButton::Value() const {
    return m_group->m_selected == m_index;
}

void OptionButton::setValue(bool on) {
    if (on) {
        m_group->select(m_index);
    } else if (Value()) {
        m_group->select(-1);
    }
}

void OptionButton::click() {
    if (widget()->isEnabled()) static_cast<QRadioButton*>(widget())->click();
}

void OptionButton::show(bool on) {
    static_cast<QRadioButton*>(widget())->setChecked(on);
}

OptionButton& OptionGroup::add(QWidget* parent, const std::string& caption) {
    m_buttons.push_back(std::unique_ptr<OptionButton>(new OptionButton(parent, this, count(), caption)));
    return *m_buttons.back();
}

OptionButton& OptionGroup::operator[](int index) {
    if (index < 0 || index >= count()) raise(kSubscriptOutOfRange);
    return *m_buttons[static_cast<size_t>(index)];
}

void OptionGroup::select(int index) {
    if (index < -1 || index >= count()) raise(kInvalidPropertyValue);
    if (index == m_selected) return;
    m_selected = index;
    for (int i = 0; i < count(); ++i) m_buttons[static_cast<size_t>(i)]->show(i == index);
    if (index < 0) return;
    OptionButton& button = *m_buttons[static_cast<size_t>(index)];
    if (button.onClick) {
        auto handler = button.onClick;
        HandlerScope scope(button.widget());
        handler();
    }
    if (onClick) {
        auto handler = onClick;
        HandlerScope scope(button.widget());
        handler(index);
    }
}

// ---------------------------------------------------------------------------------------------
// TextBox

TextBox::TextBox(QWidget* parent, const std::string& text) : Control(new QLineEdit(qs(text), parent)) {
    m_lastText = edit()->text();
    QObject::connect(edit(), &QLineEdit::textChanged, [this](const QString& text) {
        m_lastText = text;
        fire(onChange);
    });
    QObject::connect(edit(), &QLineEdit::textEdited, [this](const QString&) { userEdited(); });
}

QLineEdit* TextBox::edit() const {
    return static_cast<QLineEdit*>(widget());
}
void TextBox::setText(const std::string& text) {
    edit()->setText(qs(text));
}
std::string TextBox::Text() const {
    return ss(edit()->text());
}
void TextBox::setMaxLength(int length) {
    m_maxLength = std::max(0, length);
}
void TextBox::setLocked(bool on) {
    edit()->setReadOnly(on);
}
void TextBox::setAlignment(Qt::Alignment alignment) {
    edit()->setAlignment(alignment);
}
void TextBox::setSelStart(int position) {
    edit()->setCursorPosition(std::clamp(position, 0, int(edit()->text().size())));
}
void TextBox::setSelLength(int length) {
    int start = edit()->cursorPosition();
    if (edit()->hasSelectedText()) start = edit()->selectionStart();
    edit()->setSelection(start, std::max(0, length));
}
int TextBox::SelStart() const {
    return edit()->hasSelectedText() ? edit()->selectionStart() : edit()->cursorPosition();
}
int TextBox::SelLength() const {
    return edit()->hasSelectedText() ? int(edit()->selectedText().size()) : 0;
}

// Pasting (or any edit that bypassed the key filter) past the maximum length is cut back to it.
void TextBox::userEdited() {
    if (m_maxLength <= 0) return;
    QString text = edit()->text();
    if (text.size() <= m_maxLength) return;
    int cursor = edit()->cursorPosition();
    edit()->setText(text.left(m_maxLength));
    edit()->setCursorPosition(std::min(cursor, m_maxLength));
}

// Applies the filter and the key-press handler to one typed character; returns true when the key
// was handled here (eaten or replaced).
bool TextBox::typeKey(int code) {
    int original = code;
    if (m_filter == KeyFilter::SwallowAll) return true;
    if (m_filter == KeyFilter::DigitsOnly && code != 8 && (code < '0' || code > '9')) return true;
    fire(onKeyPress, code);
    if (code == 0) return true;
    bool printable = code >= 32;
    if (printable && m_maxLength > 0 && !edit()->isReadOnly()) {
        int kept = int(edit()->text().size()) - SelLength();
        if (kept >= m_maxLength) return true;
    }
    if (code != original) {
        if (printable && !edit()->isReadOnly()) edit()->insert(QString(QChar(code)));
        return true;
    }
    return false;
}

bool TextBox::filterEvent(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    int code = keyAsciiOf(static_cast<QKeyEvent*>(event));
    if (code == 0) return false;
    return typeKey(code);
}

void TextBox::type(const std::string& text) {
    for (QChar ch : qs(text)) {
        int code = ch.unicode();
        if (typeKey(code)) continue;
        if (code == 8) {
            edit()->backspace();
        } else if (code >= 32 && !edit()->isReadOnly()) {
            edit()->insert(QString(ch));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// ComboList

ComboList::ComboList(QWidget* parent, ComboStyle style) : Control(new QComboBox(parent)), m_style(style) {
    QComboBox* b = box();
    b->setEditable(style == ComboStyle::Typeable);
    if (style == ComboStyle::Typeable) {
        b->setInsertPolicy(QComboBox::NoInsert);
        b->lineEdit()->installEventFilter(widget()->property("sqTap").value<QObject*>());
        QObject::connect(b->lineEdit(), &QLineEdit::textEdited, [this](const QString&) { fire(onChange); });
        // Qt replaces the text with an item that matches it in another letter case when the line loses
        // the focus; a classic combo keeps its text as it stands.
        QObject::disconnect(b->lineEdit(), &QLineEdit::editingFinished, b, nullptr);
    }
    b->setCurrentIndex(-1);
    QObject::connect(b, &QComboBox::currentIndexChanged, [this](int index) {
        if (!m_quiet) userIndexChanged(index);
    });
    QObject::connect(b, &QComboBox::activated, [this](int index) { userActivated(index); });
}

QComboBox* ComboList::box() const {
    return static_cast<QComboBox*>(widget());
}

void ComboList::showIndex(int index) {
    m_quiet = true;
    QString edited = m_style == ComboStyle::Typeable ? box()->currentText() : QString();
    box()->setCurrentIndex(index);
    if (m_style == ComboStyle::Typeable && index < 0) box()->setEditText(edited);
    m_quiet = false;
}

void ComboList::AddItem(const std::string& text, int index) {
    if (index < -1 || index > ListCount()) raise(kInvalidPropertyValue);
    m_quiet = true;
    QString edited = box()->currentText();
    if (index < 0) {
        box()->addItem(qs(text));
    } else {
        box()->insertItem(index, qs(text));
        if (m_index >= index) ++m_index;
    }
    box()->setCurrentIndex(m_index);  // Qt selects the first item added to an empty list
    if (m_style == ComboStyle::Typeable && m_index < 0) box()->setEditText(edited);
    m_quiet = false;
}

void ComboList::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) raise(kInvalidCall);
    m_quiet = true;
    box()->removeItem(index);
    if (m_index == index) {
        m_index = -1;
    } else if (m_index > index) {
        --m_index;
    }
    box()->setCurrentIndex(m_index);
    m_quiet = false;
}

void ComboList::Clear() {
    m_quiet = true;
    box()->clear();
    m_index = -1;
    m_quiet = false;
}

int ComboList::ListCount() const {
    return box()->count();
}

std::string ComboList::List(int index) const {
    if (index < 0 || index >= ListCount()) raise(381, "Invalid property array index");
    return ss(box()->itemText(index));
}

void ComboList::setList(int index, const std::string& text) {
    if (index < 0 || index >= ListCount()) raise(381, "Invalid property array index");
    box()->setItemText(index, qs(text));
}

void ComboList::setListIndex(int index) {
    if (index < -1 || index >= ListCount()) raise(kInvalidPropertyValue);
    if (index == m_index) return;
    m_index = index;
    showIndex(index);
    fire(onClick);
}

void ComboList::userIndexChanged(int index) {
    m_userChangedTo = index;
    if (index == m_index) return;
    m_index = index;
    fire(onClick);
}

// The drop-down reports every choice after the change it made, if any: a choice that changed the
// item has run the click handler already, and one that a handler has overridden is not the item.
void ComboList::userActivated(int index) {
    const bool changed = index == m_userChangedTo;
    m_userChangedTo = -2;
    if (changed || index != m_index) return;
    fire(onChooseAgain);
}

std::string ComboList::Text() const {
    if (m_style == ComboStyle::Typeable) return ss(box()->currentText());
    return m_index < 0 ? std::string() : ss(box()->itemText(m_index));
}

void ComboList::setText(const std::string& text) {
    if (m_style == ComboStyle::Typeable) {
        box()->setEditText(qs(text));
        return;
    }
    int index = box()->findText(qs(text), Qt::MatchExactly);
    if (index < 0) raise(383, "'Text' property is read-only");
    setListIndex(index);
}

void ComboList::choose(int index) {
    if (!widget()->isEnabled() || index < 0 || index >= ListCount()) return;
    box()->setCurrentIndex(index);  // the same signals a user's choice gives
    Q_EMIT box()->activated(index);
}

bool ComboList::filterEvent(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    int code = keyAsciiOf(static_cast<QKeyEvent*>(event));
    if (code == 0) return false;
    fire(onKeyPress, code);
    if (m_style == ComboStyle::ListOnly) return code >= 32 || code == 8;  // typing never searches the list
    return code == 0;
}

}  // namespace sq
