#include "cli.h"

int main(int argc, char** argv) { return kyn::cli::Run(argc, argv); }
