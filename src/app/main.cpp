#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("TovalenAutoCAD Ver2.01"));
    placeholder.show();
    return app.exec();
}
