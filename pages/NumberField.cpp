#include "NumberField.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "PageFramework.h"

namespace tandel {

NumberField::NumberField(int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(QStringLiteral("0"))),
      up_(new QToolButton),
      down_(new QToolButton),
      minimum_(minimum),
      maximum_(maximum) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
        button->setFocusPolicy(Qt::NoFocus);
    }
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(up_);
    buttons->addWidget(down_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_);
    layout->addLayout(buttons);
    connect(up_, &QToolButton::clicked, this, [this] { Spin(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Spin(-1); });
    connect(edit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { Q_EMIT ValueChanged(ParseNumberField(text)); });
}

void NumberField::SetValue(std::int32_t value) {
    edit_->setText(QString::number(value));
}

std::int32_t NumberField::Value() const {
    return ParseNumberField(edit_->text());
}

void NumberField::Spin(int steps) {
    const std::int64_t next = std::int64_t(Value()) + steps;
    const int clamped = int(std::clamp<std::int64_t>(next, minimum_, maximum_));
    Q_EMIT Spun();
    if (clamped != Value()) {
        SetValue(clamped);
    }
}

}  // namespace tandel
