#include "platform/ui/num_edit_control.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "platform/numbers.h"
#include "platform/ui/graph_scale.h"

namespace sq {

namespace {
// A held button steps this many times before it steps fast.
constexpr int kRepeatsBeforeFastStep = 5;
}  // namespace

// Routes the edit line's keys and focus loss to the control.
class NumEditTap : public QObject {
public:
    NumEditTap(NumEditControl* control, QObject* parent) : QObject(parent), m_control(control) {}
    void detach() { m_control = nullptr; }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return m_control && m_control->editEvent(event); }

private:
    NumEditControl* m_control;
};

NumEditControl::NumEditControl(QWidget* parent, int index) : Control(new QWidget(parent)), m_index(index) {
    QWidget* frame = widget();
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_edit = new QLineEdit(frame);
    row->addWidget(m_edit, 1);
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    row->addLayout(buttons);
    auto makeButton = [&](Qt::ArrowType arrow, int direction) {
        auto* button = new QToolButton(frame);
        button->setArrowType(arrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setFixedWidth(16);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        QObject::connect(button, &QToolButton::clicked, frame, [this, button, direction] {
            // While the button is held, clicks repeat with the button still down.
            m_repeats = button->isDown() ? m_repeats + 1 : 0;
            buttonStep(direction);
        });
        buttons->addWidget(button);
        return button;
    };
    m_up = makeButton(Qt::UpArrow, 1);
    m_down = makeButton(Qt::DownArrow, -1);
    frame->setFocusProxy(m_edit);
    QObject::connect(m_edit, &QLineEdit::textEdited, frame, [this] { m_typed = true; });
    m_tap = new NumEditTap(this, m_edit);
    m_edit->installEventFilter(m_tap);
    frame->resize(100, 25);
    showValue();
}

NumEditControl::~NumEditControl() {
    m_tap->detach();
    QObject::disconnect(m_edit, nullptr, widget(), nullptr);
    QObject::disconnect(m_up, nullptr, widget(), nullptr);
    QObject::disconnect(m_down, nullptr, widget(), nullptr);
}

void NumEditControl::setValue(double value) {
    m_value = value;
    m_typed = false;
    showValue();
}

void NumEditControl::setFormat(const std::string& format) {
    m_format = format;
    if (!m_typed) showValue();
}

std::string NumEditControl::Text() const {
    return m_edit->text().toStdString();
}

void NumEditControl::showValue() {
    m_edit->setText(QString::fromStdString(formatLabel(m_value, m_format, 2)));
}

void NumEditControl::stepBy(int steps) {
    commitTyped();
    userValue(m_value + steps * m_step);
}

void NumEditControl::fastStepBy(int steps) {
    commitTyped();
    userValue(m_value + steps * m_fastStep);
}

void NumEditControl::buttonStep(int direction) {
    if (m_repeats > kRepeatsBeforeFastStep)
        fastStepBy(direction);
    else
        stepBy(direction);
}

void NumEditControl::userValue(double value) {
    if (std::isnan(value)) return showValue();
    value = std::clamp(value, std::min(m_minimum, m_maximum), std::max(m_minimum, m_maximum));
    bool changed = value != m_value;
    m_value = value;
    showValue();
    if (changed) fire(onValueChanged, m_index);
}

void NumEditControl::commitTyped() {
    if (!m_typed) return;
    m_typed = false;
    std::string text = m_edit->text().toStdString();
    if (m_format == "hh:nn:ss") {
        auto seconds = parseTimeOfDay(text);
        auto value = seconds ? valueAtTimeOfDay(*seconds, m_minimum, m_maximum) : std::nullopt;
        if (value) return userValue(*value);
    } else if (isNumeric(text)) {
        return userValue(toNumber(text));
    }
    showValue();  // refused: the field shows the value again
}

bool NumEditControl::editEvent(QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        commitTyped();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
            stepBy(1);
            return true;
        case Qt::Key_Down:
            stepBy(-1);
            return true;
        case Qt::Key_PageUp:
            fastStepBy(1);
            return true;
        case Qt::Key_PageDown:
            fastStepBy(-1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            commitTyped();
            return true;
        default:
            return false;
    }
}

}  // namespace sq
