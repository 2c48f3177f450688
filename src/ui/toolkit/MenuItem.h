#pragma once

#include <QAction>
#include <QPointer>
#include <memory>

class QMenu;

// A menu item or submenu with the properties a language file addresses
// (Caption, Hint, ShortCut, ImageIndex, Tag, Enabled, Visible). An item is
// usable only while it and every submenu above it are enabled, so a disabled
// submenu also silences the shortcuts of everything in it.
class MenuItem : public QAction
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)
    Q_PROPERTY(QString ShortCut READ shortCutText WRITE setShortCutText)
    Q_PROPERTY(int ImageIndex READ imageIndex WRITE setImageIndex)
    Q_PROPERTY(int Tag READ tag WRITE setTag)
    Q_PROPERTY(bool Enabled READ ownEnabled WRITE setOwnEnabled)
    Q_PROPERTY(bool Visible READ isVisible WRITE setVisible)

public:
    MenuItem(const QString& name, const QString& caption, QObject* owner);

    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    QString hint() const { return statusTip(); }
    void setHint(const QString& hint);
    QString shortCutText() const { return shortcut().toString(QKeySequence::PortableText); }
    void setShortCutText(const QString& text) { setShortcut(QKeySequence(text)); }
    int imageIndex() const { return m_imageIndex; }
    void setImageIndex(int index);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    bool ownEnabled() const { return m_ownEnabled; }
    void setOwnEnabled(bool enabled);

    ~MenuItem() override;

    // Turns the item into a submenu, which the item owns.
    QMenu* makeSubmenu();
    QMenu* submenu() const { return m_submenu.get(); }
    // Adds an item to this submenu.
    void addItem(MenuItem* item);
    void addSeparator();
    void removeItems();

private:
    void updateEffectiveEnabled();

    std::unique_ptr<QMenu> m_submenu;
    QPointer<MenuItem> m_parentItem;
    int m_imageIndex = -1;
    int m_tag = 0;
    bool m_ownEnabled = true;
};
