// The main window: its layout, and the connection it opens on creation and closes on
// destruction.

#include "app/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTcpServer>
#include <QTest>

#include "app/tab_control.h"
#include "db/db.h"
#include "list/message_box.h"
#include "testsupport/test_server.h"

namespace {

// Records the messages instead of showing them.
class MessageRecorder {
  public:
    MessageRecorder() {
        SetMessageSink([this](const QString& text) { shown.push_back(text); });
    }
    ~MessageRecorder() { SetMessageSink(nullptr); }
    std::vector<QString> shown;
};

ConnectionSettings ToTestServer() {
    ConnectionSettings settings = BuiltInConnection();
    settings.port = testsupport::ServerPort();
    return settings;
}

ConnectionSettings ToNothing() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    ConnectionSettings settings = BuiltInConnection();
    settings.port = probe.serverPort();
    return settings;  // the probe stops listening here
}

template <typename Control>
Control* Find(QWidget* window, const char* name) {
    auto* control = window->findChild<Control*>(QString::fromUtf8(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void TearDown() override {
        delete window_;
        DbConnection = nullptr;
    }

    MessageRecorder messages_;
    QPointer<MainWindow> window_;
};

TEST_F(MainWindowTest, WithoutAServerItSaysSoOnceAndStaysOpen) {
    window_ = new MainWindow(ToNothing());
    window_->show();
    EXPECT_EQ(messages_.shown, std::vector<QString>{QStringLiteral("连接数据库失败！")});
    EXPECT_EQ(DbConnection, nullptr);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(Find<QLabel>(window_, "状态条1_当前用户")->text(), QStringLiteral("当前用户："));
    EXPECT_EQ(Find<QLabel>(window_, "状态条1_提示信息")->text(),
              QStringLiteral("提示信息：床前明月光，疑是地上霜。举头望明月，低头思故乡。"));
    EXPECT_EQ(Find<QComboBox>(window_, "组合框_科技公司")->count(), 0);
    EXPECT_EQ(Find<QComboBox>(window_, "组合框_服务器")->count(), 0);
    EXPECT_EQ(Find<QTableWidget>(window_, "超级列表框_信息管理")->rowCount(), 0);

    window_->close();  // in the not-connected state closing has nothing to close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window_.isNull());
}

TEST_F(MainWindowTest, TheConnectionLivesAsLongAsTheWindow) {
    testsupport::AdminSession admin;
    window_ = new MainWindow(ToTestServer());
    EXPECT_TRUE(messages_.shown.empty());
    ASSERT_NE(DbConnection, nullptr);
    const std::int32_t id = QueryCount("select connection_id() as ceshi");
    ASSERT_GT(id, 0);
    const std::string alive =
        "select count(*) from information_schema.processlist where id=" + std::to_string(id);
    EXPECT_EQ(admin.Count(alive), 1);

    window_->show();
    window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window_.isNull()) << "closing the window destroys it";
    EXPECT_NE(DbConnection, nullptr) << "the handle keeps its value";
    EXPECT_FALSE(DbExecute(DbConnection, "select 1")) << "a closed connection runs nothing";
    for (int i = 0; i < 100 && admin.Count(alive) != 0; ++i) {
        QTest::qWait(20);
    }
    EXPECT_EQ(admin.Count(alive), 0) << "the server saw the connection close";
}

struct Placement {
    const char* name;
    QRect rect;
    const char* text;
};

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThem) {
    window_ = new MainWindow(ToNothing());
    window_->show();
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("Brelmo-账号管理系统1.0版本"));
    EXPECT_EQ(window_->size(), QSize(794, 572));
    EXPECT_EQ(window_->minimumSize(), window_->maximumSize()) << "the border is fixed";
    EXPECT_FALSE(window_->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window_->windowFlags() & Qt::WindowMinimizeButtonHint);

    auto* tabs = Find<TabControl>(window_, "高级选择夹1");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->geometry(), QRect(0, 0, 792, 555));
    EXPECT_EQ(Find<QWidget>(window_, "状态条1")->geometry(), QRect(0, 552, 794, 20));
    ASSERT_EQ(tabs->Count(), 2);
    EXPECT_EQ(tabs->Tabs()->tabText(0), QStringLiteral("账号管理"));
    EXPECT_EQ(tabs->Tabs()->tabText(1), QStringLiteral("系统设置"));

    // Places are in the tab control's coordinates; the page is the one the control is on.
    const std::vector<std::pair<int, Placement>> placements = {
        {0, {"标签1", {4, 27, 70, 24}, "科技公司："}},
        {0, {"组合框_科技公司", {76, 29, 96, 20}, nullptr}},
        {0, {"标签2", {173, 27, 55, 24}, "服务器："}},
        {0, {"组合框_服务器", {230, 29, 96, 20}, nullptr}},
        {0, {"标签28", {327, 27, 70, 24}, "开始日期："}},
        {0, {"日期框_开始日期", {401, 27, 110, 24}, nullptr}},
        {0, {"标签29", {513, 27, 70, 24}, "结束日期："}},
        {0, {"日期框_结束日期", {587, 27, 110, 24}, nullptr}},
        {0, {"按钮_添加数据", {700, 27, 88, 24}, "添加数据"}},
        {0, {"超级列表框_信息管理", {2, 57, 790, 497}, nullptr}},
        {1, {"按钮_清空数据", {8, 32, 128, 24}, "清空账号管理信息"}},
        {1, {"按钮_清空数据1", {152, 32, 128, 24}, "清空登录信息"}},
        {1, {"标签3", {8, 72, 272, 448}, nullptr}},
    };
    for (const auto& [page, placement] : placements) {
        SCOPED_TRACE(placement.name);
        QWidget* control = Find<QWidget>(window_, placement.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget(), tabs->Page(page));
        EXPECT_EQ(QRect(control->mapTo(tabs, QPoint(0, 0)), control->size()), placement.rect);
        if (placement.text != nullptr) {
            const QString text = qobject_cast<QLabel*>(control)
                                     ? qobject_cast<QLabel*>(control)->text()
                                     : qobject_cast<QPushButton*>(control)->text();
            EXPECT_EQ(text, QString::fromUtf8(placement.text));
        }
    }
    EXPECT_EQ(tabs->Page(1)->findChildren<QWidget*>().size(), 3u)
        << "the settings page holds the two buttons and the help text only";

    tabs->SetCurrentPage(1);
    EXPECT_FALSE(tabs->Page(0)->isVisible());
    EXPECT_TRUE(Find<QLabel>(window_, "标签3")->isVisible());
}

TEST_F(MainWindowTest, TheHelpTextAndTheHiddenMenu) {
    window_ = new MainWindow(ToNothing());
    auto* help = Find<QLabel>(window_, "标签3");
    EXPECT_EQ(help->font().pixelSize(), 19);
    EXPECT_EQ(help->text().split(QChar('\n')),
              QStringList({QStringLiteral("   使用说明"), QStringLiteral("1、双击是修改！"),
                           QStringLiteral("2、右键是删除！"),
                           QStringLiteral("3、数据库里面的账号表的信息不要乱改！否则无法使用！"),
                           QString(),
                           QStringLiteral("重要说明：数据库的账号必须是：root 密码空 "
                                          "库名是：ceshi1！")}));

    auto* menu = Find<QMenu>(window_, "菜单");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("菜单"));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("删除选中"));
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(window_->findChild<QMenuBar*>(), nullptr) << "no menu bar shows on the window";
}

TEST_F(MainWindowTest, DateBoxesStartAtToday) {
    window_ = new MainWindow(ToNothing());
    EXPECT_EQ(Find<QDateEdit>(window_, "日期框_开始日期")->date(), QDate::currentDate());
    EXPECT_EQ(Find<QDateEdit>(window_, "日期框_结束日期")->date(), QDate::currentDate());
    EXPECT_FALSE(Find<QComboBox>(window_, "组合框_科技公司")->isEditable());
    EXPECT_FALSE(Find<QComboBox>(window_, "组合框_服务器")->isEditable());
}

}  // namespace
