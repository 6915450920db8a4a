#include "artgen.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr, "usage: vantela_artgen DATA_DIR EMBEDDED_DIR [ICON_THEME_DIR]\n");
        return 2;
    }
    const ArtOutput out { QDir(args.at(1)), QDir(args.at(2)) };
    if (!out.data.exists() || !out.embedded.exists()) {
        std::fprintf(stderr, "vantela_artgen: output folders must exist\n");
        return 2;
    }
    generateShellArt(out);
    generateDescriptionArt(out);
    generateDemoArt(out);
    generatePracticeArt(out);
    generateUtilitiesArt(out);
    generateEvaluationArt(out);
    generateExercisesArt(out);
    generateReferenceArt(out);
    if (args.size() == 4)
        generateDesktopArt(QDir(args.at(3)));
    return 0;
}
