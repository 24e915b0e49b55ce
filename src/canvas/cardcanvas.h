#pragma once

#include "canvas/carddrawing.h"

#include <QFont>
#include <QWidget>

#include <functional>

class QPainter;

namespace tafelbau {

/// Paints card items over black; only what lies in `clip` is touched, so a
/// redraw of a big card costs what is on the screen.
void paintCardItems(QPainter &painter, const std::vector<CardItem> &items, const QRect &clip, const QFont &font);

/// The card canvas: an image of the panel size, shown in the scroll area.
/// It keeps the items of the card on show and paints the exposed part.
class CardCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit CardCanvas(QWidget *parent = nullptr);

    void setPanelSize(int width, int height);
    void setItems(std::vector<CardItem> items);
    const std::vector<CardItem> &items() const { return m_items; }

    /// The whole image as a full redraw would make it.
    QImage render() const;

    static QFont captionFont();

signals:
    void leftClicked(int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    std::vector<CardItem> m_items;
    QFont m_font;
};

} // namespace tafelbau
