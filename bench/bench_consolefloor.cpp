#include <QCoreApplication>

// The command line's floor: an empty Qt console program, which only starts and ends.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    return 0;
}
