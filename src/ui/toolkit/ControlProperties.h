#pragma once

#include "polyglot/RuntimeNaming.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

// The properties every control and window offers a language file by the
// names the program's windows were designed with: position and size, whether
// it is shown and usable, its hint, its colour and its font. Colours are
// written as the designer wrote them, $00BBGGRR; a system colour (high byte
// set) gives the control back its usual colour.

// The font of one control, reached as "Font.Name", "Font.Size", ...
class FontProperties : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ name WRITE setName)
    Q_PROPERTY(int Size READ size WRITE setSize)
    // Pixels; negative as the designer writes a character height.
    Q_PROPERTY(int Height READ height WRITE setHeight)
    Q_PROPERTY(int Color READ color WRITE setColor)
    // Kept for files written for another platform; the face decides here.
    Q_PROPERTY(int Charset READ charset WRITE setCharset)

public:
    explicit FontProperties(QWidget* control);
    QString name() const;
    void setName(const QString& name);
    int size() const;
    void setSize(int points);
    int height() const;
    void setHeight(int pixels);
    int color() const;
    void setColor(int color);
    int charset() const { return m_charset; }
    void setCharset(int charset) { m_charset = charset; }

private:
    void change(const std::function<void(QFont&)>& edit);
    QWidget* m_control;
    int m_charset = 1;
};

namespace ControlProperties {
int toColorValue(const QColor& color);
// Nothing for a system colour or a value that is no colour.
std::optional<QColor> fromColorValue(int value);

void setLeft(QWidget* w, int left);
void setTop(QWidget* w, int top);
void setWidth(QWidget* w, int width);
void setHeight(QWidget* w, int height);
int color(const QWidget* w);
void setColor(QWidget* w, int value);
FontProperties* font(QWidget* w);
} // namespace ControlProperties

// In the class body of a control or window, after Q_OBJECT.
#define RYDEX_CONTROL_PROPERTIES                                                                   \
    Q_PROPERTY(int Left READ x WRITE setLeftProperty)                                              \
    Q_PROPERTY(int Top READ y WRITE setTopProperty)                                                \
    Q_PROPERTY(int Width READ width WRITE setWidthProperty)                                        \
    Q_PROPERTY(int Height READ height WRITE setHeightProperty)                                     \
    Q_PROPERTY(bool Visible READ visibleProperty WRITE setVisible)                                 \
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)                                       \
    Q_PROPERTY(QString Hint READ toolTip WRITE setHintProperty)                                    \
    Q_PROPERTY(int Color READ colorProperty WRITE setColorProperty)                                \
    Q_PROPERTY(FontProperties* Font READ fontProperty)                                             \
public:                                                                                            \
    void setLeftProperty(int v)                                                                    \
    {                                                                                              \
        ControlProperties::setLeft(this, v);                                                       \
    }                                                                                              \
    void setTopProperty(int v)                                                                     \
    {                                                                                              \
        ControlProperties::setTop(this, v);                                                        \
    }                                                                                              \
    void setWidthProperty(int v)                                                                   \
    {                                                                                              \
        ControlProperties::setWidth(this, v);                                                      \
    }                                                                                              \
    void setHeightProperty(int v)                                                                  \
    {                                                                                              \
        ControlProperties::setHeight(this, v);                                                     \
    }                                                                                              \
    bool visibleProperty() const                                                                   \
    {                                                                                              \
        return !isHidden();                                                                        \
    }                                                                                              \
    int colorProperty() const                                                                      \
    {                                                                                              \
        return ControlProperties::color(this);                                                     \
    }                                                                                              \
    void setColorProperty(int v)                                                                   \
    {                                                                                              \
        ControlProperties::setColor(this, v);                                                      \
    }                                                                                              \
    FontProperties* fontProperty()                                                                 \
    {                                                                                              \
        return ControlProperties::font(this);                                                      \
    }                                                                                              \
    /* The hint is the tooltip and the status bar's text alike. */                                 \
    void setHintProperty(const QString& v)                                                         \
    {                                                                                              \
        setToolTip(v);                                                                             \
        setStatusTip(v);                                                                           \
    }                                                                                              \
                                                                                                   \
private:
