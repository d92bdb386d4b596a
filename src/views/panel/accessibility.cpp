// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessibility.h"

#include "contentview.h"
#include "views/addarea/addarea.h"
#include "views/header/countlabel.h"
#include "views/header/panelheader.h"
#include "views/kit/checkbox.h"
#include "views/kit/goalrow.h"
#include "views/kit/symbolglyph.h"
#include "views/list/goallist.h"
#include "views/rows/todorowview.h"
#include "views/rows/wrappedtext.h"

#include <QAccessibleWidget>

namespace
{

// A container whose hidden children (the empty-state row beside a list, a delete glyph away from the
// pointer, the text behind an open editor) are not part of what a listener hears.
class ShownChildrenAccessible final : public QAccessibleWidget
{
public:
    ShownChildrenAccessible(QWidget *widget, QAccessible::Role role, AnnouncedChild announced)
        : QAccessibleWidget(widget, role)
        , m_announced(announced)
    {
    }

    int childCount() const override { return int(shownChildren().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList children = shownChildren();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QWidgetList shownChildren() const
    {
        QWidgetList shown;
        for (QObject *object : widget()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !child->isHidden() && (!m_announced || m_announced(child)))
                shown.append(child);
        }
        return shown;
    }

    AnnouncedChild m_announced = nullptr;
};

class CheckboxAccessible final : public QAccessibleWidget
{
public:
    explicit CheckboxAccessible(Checkbox *checkbox)
        : QAccessibleWidget(checkbox, QAccessible::CheckBox)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = checkbox()->isCompleted();
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList { toggleAction() } + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action == toggleAction() || action == pressAction())
            checkbox()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    Checkbox *checkbox() const { return static_cast<Checkbox *>(widget()); }
};

QAccessibleInterface *panelAccessible(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (auto *checkbox = qobject_cast<Checkbox *>(object))
        return new CheckboxAccessible(checkbox);
    // The repeat glyph says how its goal repeats; the others are ornaments or say their state in the header, and
    // the reminder's bell has its time beside it.
    if (auto *glyph = qobject_cast<SymbolGlyph *>(object); glyph && glyph->symbol() == SymbolGlyph::Symbol::Repeat)
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (qobject_cast<GoalList *>(object))
        return new ShownChildrenAccessible(widget, QAccessible::List, nullptr);
    if (qobject_cast<TodoRowView *>(object))
        return new ShownChildrenAccessible(widget, QAccessible::ListItem, nullptr);
    if (qobject_cast<WrappedText *>(object) || qobject_cast<CountLabel *>(object))
        return new QAccessibleWidget(widget, QAccessible::StaticText);
    if (qobject_cast<ContentView *>(object) || qobject_cast<PanelHeader *>(object) || qobject_cast<AddArea *>(object)
        || qobject_cast<GoalRow *>(object))
        return new ShownChildrenAccessible(widget, QAccessible::Grouping, nullptr);
    return nullptr;
}

} // namespace

QAccessibleInterface *shownChildrenAccessible(QWidget *widget, QAccessible::Role role, AnnouncedChild announced)
{
    return new ShownChildrenAccessible(widget, role, announced);
}

void installPanelAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(panelAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
