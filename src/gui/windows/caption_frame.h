// A frame around a group of controls with its caption set into the top border line, as the
// windows were designed: the border runs through the middle of the caption's line, so the frame
// keeps the whole height it was laid out with.
#pragma once

#include <QGroupBox>

namespace tarnwick::gui {

class CaptionFrame : public QGroupBox {
  Q_OBJECT
 public:
  explicit CaptionFrame(QWidget* parent = nullptr) : QGroupBox(parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarnwick::gui
