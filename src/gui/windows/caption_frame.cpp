#include "gui/windows/caption_frame.h"

#include <QPainter>

namespace tarnwick::gui {

void CaptionFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const int lineY = metrics.height() / 2;

  // An etched border: a dark line with a light one inside it.
  const QRect border = rect().adjusted(0, lineY, -2, -2);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(border);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(border.translated(1, 1));

  const QString caption = title();
  if (caption.isEmpty())
    return;
  constexpr int kCaptionLeft = 6;
  constexpr int kCaptionPadding = 2;
  const QRect captionRect(kCaptionLeft, 0, metrics.horizontalAdvance(caption) + 2 * kCaptionPadding,
                          metrics.height());
  painter.fillRect(captionRect, palette().window());
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(captionRect, Qt::AlignCenter, caption);
}

}  // namespace tarnwick::gui
