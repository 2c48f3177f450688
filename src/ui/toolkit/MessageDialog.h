#pragma once

#include <QObject>
#include <QString>

// A named message dialog of a window: a caption, one icon, one or two buttons
// and a fixed text, all of them properties a language file can replace.
// Executing it goes through the DialogPresenter, so that a test can answer it.
class MessageDialog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(int ButtonCount READ buttonCount WRITE setButtonCount)
    Q_PROPERTY(QString Button1Caption READ button1Caption WRITE setButton1Caption)
    Q_PROPERTY(QString Button2Caption READ button2Caption WRITE setButton2Caption)
    Q_PROPERTY(IconType IconType READ iconType WRITE setIconType)

public:
    enum IconType { Information, Warning, Stop, Question };
    Q_ENUM(IconType)
    // What execute() answers: the first button means yes ("OK"), the second no.
    enum Result { Button1 = 1, Button2 = 2 };
    Q_ENUM(Result)

    MessageDialog(const QString& name, QObject* owner);

    QString caption() const { return m_caption; }
    void setCaption(const QString& v) { m_caption = v; }
    QString text() const { return m_text; }
    void setText(const QString& v) { m_text = v; }
    int buttonCount() const { return m_buttonCount; }
    void setButtonCount(int v) { m_buttonCount = v < 2 ? 1 : 2; }
    QString button1Caption() const { return m_button1; }
    void setButton1Caption(const QString& v) { m_button1 = v; }
    QString button2Caption() const { return m_button2; }
    void setButton2Caption(const QString& v) { m_button2 = v; }
    IconType iconType() const { return m_icon; }
    void setIconType(IconType v) { m_icon = v; }

    // Shows the dialog modally through the presenter; true when the user
    // answered with the first button ("OK").
    bool execute();

private:
    QString m_caption;
    QString m_text;
    int m_buttonCount = 1;
    QString m_button1 = QStringLiteral("OK");
    QString m_button2 = QStringLiteral("Cancel");
    IconType m_icon = Information;
};
