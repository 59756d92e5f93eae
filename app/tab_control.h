#pragma once
// A tab control whose pages cover the whole control: the controls of a page are placed in the
// tab control's own coordinates, below the row of tabs, as the window's layout gives them.

#include <QString>
#include <QWidget>
#include <vector>

class QTabBar;

class TabControl : public QWidget {
  public:
    explicit TabControl(QWidget* parent);

    // A new, empty page with its tab.
    QWidget* AddPage(const QString& title);

    int Count() const { return static_cast<int>(pages_.size()); }
    QWidget* Page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    QTabBar* Tabs() const { return tabs_; }
    void SetCurrentPage(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ShowOnly(int index);

    QTabBar* tabs_;
    std::vector<QWidget*> pages_;
};
