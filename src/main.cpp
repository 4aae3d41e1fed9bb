#include "app/application.h"
#include "app/scene.h"

int main() { return RunApplication(CreateScene); }
