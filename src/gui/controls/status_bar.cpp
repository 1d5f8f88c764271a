#include "gui/controls/status_bar.h"

#include <QLabel>
#include <QSizePolicy>
#include <QStatusBar>

namespace tarnwick::gui {
namespace {

constexpr const char* kPartName = "statusPart0";
constexpr const char* kStyleProperty = "tarnwickStatusStyle";
constexpr std::uint16_t kStyleBits = 0xFF00;

QLabel* partLabel(QStatusBar* bar, std::uint8_t part) {
  if (bar == nullptr || part != 0)
    return nullptr;
  return bar->findChild<QLabel*>(QLatin1StringView(kPartName), Qt::FindDirectChildrenOnly);
}

void applyBorder(QLabel* label, std::uint16_t style) {
  if (style & SBT_NOBORDERS) {
    label->setFrameStyle(QFrame::NoFrame);
  } else if (style & SBT_POPOUT) {
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
  } else {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
}

}  // namespace

QStatusBar* CreateStatusBar(QWidget* parent) {
  auto* bar = new QStatusBar(parent);
  bar->setObjectName(QStringLiteral("StatusBar"));
  bar->setSizeGripEnabled(false);
  auto* label = new QLabel(bar);
  label->setObjectName(QLatin1StringView(kPartName));
  // Texts are file paths: never rich text, never wrapped, and a long one must not widen the
  // window, so the label takes the width the bar gives it and clips the rest.
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(false);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  label->setProperty(kStyleProperty, int{SBT_SUNKEN});
  applyBorder(label, SBT_SUNKEN);
  bar->addWidget(label, 1);
  return bar;
}

void SetStatusText(QStatusBar* bar, std::uint8_t part, std::uint16_t style, const QString& text) {
  QLabel* label = partLabel(bar, part);
  if (label == nullptr)
    return;
  const std::uint16_t previous = GetStatusTextStyle(bar, part);
  const std::uint16_t next = style & kStyleBits;
  label->setText(text);
  if (previous != next) {
    label->setProperty(kStyleProperty, int{next});
    applyBorder(label, next);
    bar->update();  // the border changed: redraw the whole bar
  }
}

std::uint16_t GetStatusTextStyle(QStatusBar* bar, std::uint8_t part) {
  const QLabel* label = partLabel(bar, part);
  if (label == nullptr)
    return 0;
  return static_cast<std::uint16_t>(label->property(kStyleProperty).toInt());
}

QString GetStatusText(QStatusBar* bar, std::uint8_t part) {
  const QLabel* label = partLabel(bar, part);
  return label != nullptr ? label->text() : QString();
}

}  // namespace tarnwick::gui
