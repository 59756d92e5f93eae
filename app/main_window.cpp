#include "app/main_window.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>

#include "app/tab_control.h"
#include "db/db.h"
#include "list/message_box.h"

namespace {

// The window is 800 x 600 with its fixed frame and caption; this is what lies inside.
constexpr int kClientWidth = 794;
constexpr int kClientHeight = 572;
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

const char* const kHelpLines[] = {
    "   使用说明",
    "1、双击是修改！",
    "2、右键是删除！",
    "3、数据库里面的账号表的信息不要乱改！否则无法使用！",
    "",
    "重要说明：数据库的账号必须是：root 密码空 库名是：ceshi1！",
};

template <typename Control>
Control* Place(Control* control, const char* name, int x, int y, int width, int height) {
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(x, y, width, height);
    return control;
}

QLabel* PlaceLabel(QWidget* parent, const char* name, const char* text, int x, int y, int width,
                   int height) {
    return Place(new QLabel(QString::fromUtf8(text), parent), name, x, y, width, height);
}

QComboBox* PlaceDropDownList(QWidget* parent, const char* name, int x, int y, int width,
                             int height) {
    auto* combo = Place(new QComboBox(parent), name, x, y, width, height);
    combo->setEditable(false);
    return combo;
}

QDateEdit* PlaceDateBox(QWidget* parent, const char* name, int x, int y, int width, int height) {
    auto* box = Place(new QDateEdit(QDate::currentDate(), parent), name, x, y, width, height);
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return box;
}

QPushButton* PlaceButton(QWidget* parent, const char* name, const char* text, int x, int y,
                         int width, int height) {
    return Place(new QPushButton(QString::fromUtf8(text), parent), name, x, y, width, height);
}

}  // namespace

ConnectionSettings BuiltInConnection() { return {"127.0.0.1", "kobrit", "kobrit", "ceshi1", 3306}; }

MainWindow::MainWindow(const ConnectionSettings& connection) : QWidget(nullptr) {
    setObjectName(QStringLiteral("MainWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Brelmo-账号管理系统1.0版本"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - kFrameWidth) / 2,
             area.y() + (area.height() - kFrameHeight) / 2);
    }

    高级选择夹1 = Place(new TabControl(this), "高级选择夹1", 0, 0, 792, 555);
    LayOutAccountsPage(高级选择夹1->AddPage(QStringLiteral("账号管理")));
    LayOutSettingsPage(高级选择夹1->AddPage(QStringLiteral("系统设置")));
    LayOutStatusBar();

    // The menu is never shown on the window; its items pop up over the list.
    菜单 = new QMenu(QStringLiteral("菜单"), this);
    菜单->setObjectName(QStringLiteral("菜单"));
    删除选中 = 菜单->addAction(QStringLiteral("删除选中"));
    删除选中->setObjectName(QStringLiteral("删除选中"));

    OnCreated(connection);
}

MainWindow::~MainWindow() { DbClose(DbConnection); }

void MainWindow::LayOutAccountsPage(QWidget* page) {
    标签1 = PlaceLabel(page, "标签1", "科技公司：", 4, 27, 70, 24);
    组合框_科技公司 = PlaceDropDownList(page, "组合框_科技公司", 76, 29, 96, 20);
    标签2 = PlaceLabel(page, "标签2", "服务器：", 173, 27, 55, 24);
    组合框_服务器 = PlaceDropDownList(page, "组合框_服务器", 230, 29, 96, 20);
    标签28 = PlaceLabel(page, "标签28", "开始日期：", 327, 27, 70, 24);
    日期框_开始日期 = PlaceDateBox(page, "日期框_开始日期", 401, 27, 110, 24);
    标签29 = PlaceLabel(page, "标签29", "结束日期：", 513, 27, 70, 24);
    日期框_结束日期 = PlaceDateBox(page, "日期框_结束日期", 587, 27, 110, 24);
    按钮_添加数据 = PlaceButton(page, "按钮_添加数据", "添加数据", 700, 27, 88, 24);
    超级列表框_信息管理 = Place(new QTableWidget(page), "超级列表框_信息管理", 2, 57, 790, 497);
}

void MainWindow::LayOutSettingsPage(QWidget* page) {
    按钮_清空数据 = PlaceButton(page, "按钮_清空数据", "清空账号管理信息", 8, 32, 128, 24);
    按钮_清空数据1 = PlaceButton(page, "按钮_清空数据1", "清空登录信息", 152, 32, 128, 24);

    QStringList lines;
    for (const char* line : kHelpLines) {
        lines << QString::fromUtf8(line);
    }
    标签3 = PlaceLabel(page, "标签3", "", 8, 72, 272, 448);
    标签3->setText(lines.join(QStringLiteral("\n")));
    标签3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    标签3->setWordWrap(true);
    QFont help = 标签3->font();
    help.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Noto Serif CJK SC")});
    help.setPixelSize(19);
    标签3->setFont(help);
}

void MainWindow::LayOutStatusBar() {
    状态条1 = Place(new QWidget(this), "状态条1", 0, 552, 794, 20);
    状态条1_当前用户 = PlaceLabel(状态条1, "状态条1_当前用户", "当前用户：", 0, 0, 150, 20);
    状态条1_提示信息 =
        PlaceLabel(状态条1, "状态条1_提示信息",
                   "提示信息：床前明月光，疑是地上霜。举头望明月，低头思故乡。", 150, 0, 650, 20);
    for (QLabel* part : {状态条1_当前用户, 状态条1_提示信息}) {
        part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
}

void MainWindow::OnCreated(const ConnectionSettings& connection) {
    DbConnection = DbOpen(connection.host, connection.user, connection.password,
                          connection.database, connection.port);
    if (DbConnection == nullptr) {
        ShowMessage(QStringLiteral("连接数据库失败！"));
        return;
    }
}
