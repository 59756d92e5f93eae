#include "app/tab_control.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {

// Height of the row of tabs; the pages' controls start just below it.
constexpr int kTabRowHeight = 24;

}  // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->move(2, 0);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { ShowOnly(index); });
}

QWidget* TabControl::AddPage(const QString& title) {
    auto* page = new QWidget(this);
    page->setObjectName(title);
    page->setGeometry(rect());
    pages_.push_back(page);
    tabs_->addTab(title);
    tabs_->resize(tabs_->sizeHint().width(), kTabRowHeight);
    tabs_->raise();
    ShowOnly(tabs_->currentIndex());
    return page;
}

void TabControl::SetCurrentPage(int index) { tabs_->setCurrentIndex(index); }

void TabControl::ShowOnly(int index) {
    for (int i = 0; i < Count(); ++i) {
        Page(i)->setVisible(i == index);
    }
}

void TabControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, kTabRowHeight - 2, 0, 0);
    frame.tabBarSize = tabs_->size();
    frame.tabBarRect = tabs_->geometry();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void TabControl::resizeEvent(QResizeEvent*) {
    for (QWidget* page : pages_) {
        page->setGeometry(rect());
    }
}
