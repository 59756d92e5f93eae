#include "app/process.h"

int main() { return RunProcess(); }
