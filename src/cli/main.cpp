// rsfx: batch front end over the scan engine.
#include <cstdio>

#include "cli/rsfx_app.h"

int main(int argc, char** argv) { return rsf::cli::RsfxMain(argc, argv, stdout, stderr); }
