// accounts-digest PASSWORD: prints the u_name digest of a password, for provisioning or
// checking a user row by hand.

#include <QCoreApplication>
#include <QStringEncoder>
#include <cstdio>

#include "signin/signin.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: accounts-digest PASSWORD\n");
        return 2;
    }
    QStringEncoder toGbk("GBK");
    const QByteArray password = toGbk.encode(arguments.at(1));
    if (toGbk.hasError()) {
        std::fprintf(stderr, "accounts-digest: the password holds characters GBK cannot store\n");
        return 1;
    }
    std::printf("%s\n", DigestPassword(password.toStdString(), "", "").c_str());
    return 0;
}
