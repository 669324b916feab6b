#include "sites.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace Sites {

namespace {

const QString robledal = QStringLiteral("Robledal");
const QString norte = QStringLiteral("Norte");
const QString central = QStringLiteral("Campus Central");
const QString vallehondo = QStringLiteral("Fundicion-Vallehondo");
const QString periferico = QStringLiteral("Periférico");
const QString otras = QStringLiteral("Otras apps");

// The names a mistyped one most likely meant: the fewest edits away from the whole name or
// from as much of its beginning as was typed, and not many edits for the length typed.
QList<const Site *> likelyMeant(const QString &typed)
{
    const qsizetype allowed = std::max<qsizetype>(1, typed.size() / 3);
    std::vector<std::pair<qsizetype, const Site *>> near;
    for (const Site &site : all()) {
        const QString name = folded(site.name);
        const qsizetype edits
            = std::min(editDistance(typed, name), editDistance(typed, name.left(typed.size())));
        if (edits <= allowed)
            near.emplace_back(edits, &site);
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<const Site *> sites;
    for (const auto &[edits, site] : near)
        sites << site;
    return sites.mid(0, 3);
}

} // namespace

const QList<Site> &all()
{
    // clang-format off
    static const QList<Site> sites = {
        {QStringLiteral("Arquitectura Técnica"), robledal, 9081, QStringLiteral("actionArquitectura_T_cnica")},
        {QStringLiteral("Arquitectura Superior"), robledal, 9082, QStringLiteral("actionArquitectura_Superior")},
        {QStringLiteral("Química"), robledal, 9083, QStringLiteral("actionQu_mica")},
        {QStringLiteral("Farmacia"), robledal, 9084, QStringLiteral("actionFarmacia")},
        {QStringLiteral("Física"), robledal, 9085, QStringLiteral("actionF_sica")},
        {QStringLiteral("Matemáticas"), robledal, 9086, QStringLiteral("actionMatem_ticas")},
        {QStringLiteral("Biología"), robledal, 9087, QStringLiteral("actionBiolog_a")},
        {QStringLiteral("Informática"), robledal, 9088, QStringLiteral("actionInform_tica")},
        {QStringLiteral("Edificio Ocre"), robledal, 9089, QStringLiteral("actionEdificio_Ocre")},
        {QStringLiteral("Instituto de Idiomas"), robledal, 9090, QStringLiteral("actionInstituto_de_Idiomas")},
        {QStringLiteral("NEXO 1"), robledal, 9091, QStringLiteral("actionNEXO_1")},
        {QStringLiteral("NEXO 2"), robledal, 9092, QStringLiteral("actionNEXO_2")},
        {QStringLiteral("CRAI"), robledal, 9097, QStringLiteral("actionCRAI")},
        {QStringLiteral("Molinar"), robledal, 9094, QStringLiteral("actionMolinar")},
        {QStringLiteral("Medicina"), norte, 9105, QStringLiteral("actionMedicina")},
        {QStringLiteral("Decanato"), norte, 9104, QStringLiteral("actionDecanato")},
        {QStringLiteral("Anatómico"), norte, 9106, QStringLiteral("actionAnat_mico")},
        {QStringLiteral("Pabellón Docente"), norte, 9103, QStringLiteral("actionPabell_n_Docente")},
        {QStringLiteral("Odontología"), norte, 9102, QStringLiteral("actionOdontolog_a")},
        {QStringLiteral("ETSI"), norte, 9150, QStringLiteral("actionETSI")},
        {QStringLiteral("Enfermería"), norte, 9107, QStringLiteral("actionEnfermer_a")},
        {QStringLiteral("Rectorado"), central, 9121, QStringLiteral("actionRectorado")},
        {QStringLiteral("Económicas"), vallehondo, 9111, QStringLiteral("actionEcon_micas_2")},
        {QStringLiteral("Psicología"), vallehondo, 9112, QStringLiteral("actionSicolog_a")},
        {QStringLiteral("Turismo y Finanzas"), vallehondo, 9113, QStringLiteral("actionTurismo_y_Finanzas")},
        {QStringLiteral("Centro Internacional"), periferico, 9130, QStringLiteral("actionCentro_Internacional")},
        {QStringLiteral("Ingeniería Agronómica"), periferico, 9096, QStringLiteral("actionIngenier_a_Agron_mica")},
        {QStringLiteral("Aulario Pinar"), periferico, 9095, QStringLiteral("actionAulario_Pinar")},
        {QStringLiteral("Brezal"), periferico, 9120, QStringLiteral("actionBrezal")},
        {QStringLiteral("Bellas Artes"), periferico, 9122, QStringLiteral("actionBellas_Artes")},
        {QStringLiteral("Aplicación superior"), otras, 9600, QStringLiteral("actionAplicaci_n_superior")},
        {QStringLiteral("Seguridad"), otras, 9500, QStringLiteral("actionSeguridad")},
    };
    // clang-format on
    return sites;
}

const Site *forAction(const QString &actionName)
{
    const auto found = std::find_if(all().cbegin(), all().cend(), [&](const Site &site) {
        return site.actionName == actionName;
    });
    return found == all().cend() ? nullptr : &*found;
}

QString folded(const QString &name)
{
    // Decomposed, an accented letter is its base letter and a combining mark.
    QString text = name.simplified().normalized(QString::NormalizationForm_D);
    text.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return text.toCaseFolded();
}

QList<const Site *> containing(const QString &text)
{
    const QString wanted = folded(text);
    QList<const Site *> beginning, within;
    for (const Site &site : all()) {
        const QString name = folded(site.name);
        if (name.startsWith(wanted))
            beginning << &site;
        else if (name.contains(wanted))
            within << &site;
    }
    return beginning + within;
}

Lookup lookup(const QString &name)
{
    const QString typed = folded(name);
    if (typed.isEmpty())
        return {};
    QList<const Site *> beginning;
    for (const Site &site : all()) {
        const QString candidate = folded(site.name);
        if (candidate == typed)
            return {&site, {}};
        if (candidate.startsWith(typed))
            beginning << &site;
    }
    if (beginning.size() == 1)
        return {beginning.first(), {}};
    if (!beginning.isEmpty())
        return {nullptr, beginning, true};
    const QList<const Site *> within = containing(name);
    return {nullptr, within.isEmpty() ? likelyMeant(typed) : within};
}

qsizetype editDistance(const QString &a, const QString &b)
{
    std::vector<qsizetype> row(b.size() + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype replaced = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            diagonal = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, replaced});
        }
    }
    return row[b.size()];
}

} // namespace Sites
