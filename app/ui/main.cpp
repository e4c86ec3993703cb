// vantlo: the desktop program.
#include <QApplication>

#include "programentry.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return vantlo::RunVantlo(args);
}
