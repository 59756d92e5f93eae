#pragma once
// Every message the user sees goes through ShowMessage: a box titled "温馨提示！" with an OK
// button only, no icon and no owner, modal to the whole application; it returns once the user
// has closed it.

#include <QString>
#include <functional>

void ShowMessage(const QString& text);

// Tests put a recorder in place of the box; an empty function brings the box back.
void SetMessageSink(std::function<void(const QString&)> sink);
