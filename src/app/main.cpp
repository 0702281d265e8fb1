#include "app/CRavoloApp.h"

int main(int argc, char** argv) {
    CRavoloApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitInstance(0);
    return app.ExitInstance(app.exec());
}
