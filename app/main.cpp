#include "ui/main/startwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    gyrena::StartWindow window(gyrena::Services{});
    window.show();
    return app.exec();
}
