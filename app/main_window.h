#pragma once
// The main window: a tab control with the account list page and the maintenance page, a
// status bar of two parts and a hidden menu that pops up over the list. Its creation opens the
// one database connection; its destruction closes it.

#include <QWidget>
#include <cstdint>
#include <string>

class QComboBox;
class QDateEdit;
class QLabel;
class QMenu;
class QAction;
class QPushButton;
class QTableWidget;
class TabControl;

struct ConnectionSettings {
    std::string host;
    std::string user;
    std::string password;
    std::string database;
    std::int32_t port = 0;
};

// 127.0.0.1:3306, database ceshi1, the program's own account.
ConnectionSettings BuiltInConnection();

class MainWindow : public QWidget {
  public:
    explicit MainWindow(const ConnectionSettings& connection = BuiltInConnection());
    ~MainWindow() override;

  private:
    void LayOutAccountsPage(QWidget* page);
    void LayOutSettingsPage(QWidget* page);
    void LayOutStatusBar();
    void OnCreated(const ConnectionSettings& connection);

    TabControl* 高级选择夹1;
    QWidget* 状态条1;
    QLabel* 状态条1_当前用户;
    QLabel* 状态条1_提示信息;
    QMenu* 菜单;
    QAction* 删除选中;

    QLabel* 标签1;
    QComboBox* 组合框_科技公司;
    QLabel* 标签2;
    QComboBox* 组合框_服务器;
    QLabel* 标签28;
    QDateEdit* 日期框_开始日期;
    QLabel* 标签29;
    QDateEdit* 日期框_结束日期;
    QPushButton* 按钮_添加数据;
    QTableWidget* 超级列表框_信息管理;

    QPushButton* 按钮_清空数据;
    QPushButton* 按钮_清空数据1;
    QLabel* 标签3;
};
