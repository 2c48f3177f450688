#pragma once

#include "toolkit/ControlProperties.h"

#include <QWidget>

class QLabel;
class QToolButton;

// The bar across the top of a panel that folds: a bold caption and, on the
// right, the checkable button that opens, closes or pins the panel.
class CaptionBar : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)

public:
    // The caption is named name + "Caption", the button buttonName.
    CaptionBar(const QString& name, const QString& buttonName, QWidget* parent);

    QString caption() const;
    void setCaption(const QString& caption);
    QToolButton* button() const { return m_button; }

private:
    QLabel* m_caption;
    QToolButton* m_button;
};
