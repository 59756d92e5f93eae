#include "list/message_box.h"

#include <QMessageBox>

namespace {

std::function<void(const QString&)>& Sink() {
    static std::function<void(const QString&)> sink;
    return sink;
}

}  // namespace

void ShowMessage(const QString& text) {
    if (Sink()) {
        Sink()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("温馨提示！"), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void SetMessageSink(std::function<void(const QString&)> sink) { Sink() = std::move(sink); }
