#include "app/CTavlinApp.h"

int main(int argc, char** argv) {
    tavlin::CTavlinApp app;
    return app.Run(argc, argv);
}
