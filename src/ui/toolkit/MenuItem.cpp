#include "toolkit/MenuItem.h"

#include "toolkit/ImageList.h"

#include <QMenu>

MenuItem::MenuItem(const QString& name, const QString& caption, QObject* owner) : QAction(owner)
{
    setObjectName(name);
    setText(caption);
}

void MenuItem::setHint(const QString& hint)
{
    setStatusTip(hint);
    setToolTip(hint);
}

void MenuItem::setImageIndex(int index)
{
    m_imageIndex = index;
    setIcon(index >= 0 ? ImageList::menuImage(index) : QIcon());
}

void MenuItem::setOwnEnabled(bool enabled)
{
    m_ownEnabled = enabled;
    updateEffectiveEnabled();
}

void MenuItem::updateEffectiveEnabled()
{
    const bool parentUsable = !m_parentItem || m_parentItem->isEnabled();
    setEnabled(m_ownEnabled && parentUsable);
    if (m_submenu) {
        for (QAction* a : m_submenu->actions()) {
            if (auto* child = qobject_cast<MenuItem*>(a))
                child->updateEffectiveEnabled();
        }
    }
}

MenuItem::~MenuItem() = default;

QMenu* MenuItem::makeSubmenu()
{
    if (!m_submenu) {
        m_submenu = std::make_unique<QMenu>();
        m_submenu->setObjectName(objectName() + QStringLiteral("Menu"));
        setMenu(m_submenu.get());
        connect(this, &QAction::changed, m_submenu.get(), [this] {
            m_submenu->setTitle(text());
            m_submenu->setEnabled(isEnabled());
        });
        m_submenu->setTitle(text());
        m_submenu->setEnabled(isEnabled());
    }
    return m_submenu.get();
}

void MenuItem::addItem(MenuItem* item)
{
    makeSubmenu();
    item->m_parentItem = this;
    m_submenu->addAction(item);
    item->updateEffectiveEnabled();
}

void MenuItem::addSeparator()
{
    makeSubmenu();
    m_submenu->addSeparator();
}

void MenuItem::removeItems()
{
    if (!m_submenu)
        return;
    const QList<QAction*> actions = m_submenu->actions();
    for (QAction* a : actions) {
        m_submenu->removeAction(a);
        // Out of the owner's children at once, so that a menu rebuilt in the
        // same turn finds only its new items by name.
        if (a->parent() && a->parent() != this) {
            a->setParent(nullptr);
            a->deleteLater();
        }
    }
    // A menu popped up while empty had no size, and Qt then keeps its window
    // unmapped for good, even once it holds items: the rebuilt items go into
    // a menu of their own.
    setMenu(nullptr);
    m_submenu.release()->deleteLater();
    makeSubmenu();
}
