#pragma once

#include <QLineEdit>
#include <QString>

namespace xamu::ui {

// An edit that takes only the typed characters of its set, and Backspace. Every other
// typed character is discarded, control characters included, so the clipboard's shortcuts
// do nothing; its context menu cannot paste and nothing can be dropped into it. Moving the
// caret and deleting still work.
class EdicionFiltrada : public QLineEdit {
 public:
  EdicionFiltrada(QString permitidos, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QString permitidos_;
};

}  // namespace xamu::ui
