#pragma once

#include "toolkit/ControlProperties.h"

#include <QWidget>

class CaptionBar;
class QToolButton;
class QVBoxLayout;

// A panel on the side of its area that is pinned open, or, once unpinned,
// folds to a narrow bar and slides out while the pointer rests on it.
class SidePanel : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(bool Pinned READ isPinned WRITE setPinned)

public:
    static constexpr int foldedWidth = 10;

    SidePanel(const QString& name, int openWidth, QWidget* parent = nullptr);

    QString caption() const;
    void setCaption(const QString& caption);
    bool isPinned() const { return m_pinned; }
    void setPinned(bool pinned);
    bool isOpen() const { return m_open; }
    // Where the panel's content goes.
    QVBoxLayout* contentLayout() const { return m_content; }
    QToolButton* pinButton() const { return m_pin; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setOpen(bool open);

    int m_openWidth;
    bool m_pinned = true;
    bool m_open = true;
    CaptionBar* m_header;
    QToolButton* m_pin;
    QWidget* m_inner;
    QVBoxLayout* m_content;
};
