#include "ui/imagenes.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace xamu::ui {
namespace {

// An icon holding the drawing at 16 and 32 pixels; `draw` paints in a 16 x 16 space.
QIcon Dibujar(const std::function<void(QPainter&)>& draw) {
  QIcon icon;
  for (const int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon ImagenCorreo() {
  return Dibujar([](QPainter& p) {
    p.setPen(QPen(QColor(40, 70, 130), 1.0));
    p.setBrush(QColor(250, 246, 232));
    p.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 1, 1);
    QPainterPath flap;
    flap.moveTo(1.5, 3.5);
    flap.lineTo(8, 9);
    flap.lineTo(14.5, 3.5);
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
  });
}

QIcon ImagenCerrar() {
  return Dibujar([](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
    p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
  });
}

QIcon ImagenAceptar() {
  return Dibujar([](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 140, 60));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(4.8, 8.3);
    tick.lineTo(7.2, 10.6);
    tick.lineTo(11.3, 5.6);
    p.drawPath(tick);
  });
}

}  // namespace xamu::ui
