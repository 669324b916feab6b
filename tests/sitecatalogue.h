#ifndef SITECATALOGUE_H
#define SITECATALOGUE_H

#include <QString>

#include <array>

// The sites as the users know them, written out by hand so that the tests do not trust the
// program's own tables.
struct Site
{
    const char *menu;
    const char *action;
    const char *text;
    int port;
};

inline constexpr std::array<Site, 32> siteCatalogue = {{
    {"Robledal", "actionArquitectura_T_cnica", "Arquitectura Técnica", 9081},
    {"Robledal", "actionArquitectura_Superior", "Arquitectura Superior", 9082},
    {"Robledal", "actionQu_mica", "Química", 9083},
    {"Robledal", "actionFarmacia", "Farmacia", 9084},
    {"Robledal", "actionF_sica", "Física", 9085},
    {"Robledal", "actionMatem_ticas", "Matemáticas", 9086},
    {"Robledal", "actionBiolog_a", "Biología", 9087},
    {"Robledal", "actionInform_tica", "Informática", 9088},
    {"Robledal", "actionEdificio_Ocre", "Edificio Ocre", 9089},
    {"Robledal", "actionInstituto_de_Idiomas", "Instituto de Idiomas", 9090},
    {"Robledal", "actionNEXO_1", "NEXO 1", 9091},
    {"Robledal", "actionNEXO_2", "NEXO 2", 9092},
    {"Robledal", "actionCRAI", "CRAI", 9097},
    {"Robledal", "actionMolinar", "Molinar", 9094},
    {"Norte", "actionMedicina", "Medicina", 9105},
    {"Norte", "actionDecanato", "Decanato", 9104},
    {"Norte", "actionAnat_mico", "Anatómico", 9106},
    {"Norte", "actionPabell_n_Docente", "Pabellón Docente", 9103},
    {"Norte", "actionOdontolog_a", "Odontología", 9102},
    {"Norte", "actionETSI", "ETSI", 9150},
    {"Norte", "actionEnfermer_a", "Enfermería", 9107},
    {"Campus Central", "actionRectorado", "Rectorado", 9121},
    {"Fundicion-Vallehondo", "actionEcon_micas_2", "Económicas", 9111},
    {"Fundicion-Vallehondo", "actionSicolog_a", "Psicología", 9112},
    {"Fundicion-Vallehondo", "actionTurismo_y_Finanzas", "Turismo y Finanzas", 9113},
    {"Periférico", "actionCentro_Internacional", "Centro Internacional", 9130},
    {"Periférico", "actionIngenier_a_Agron_mica", "Ingeniería Agronómica", 9096},
    {"Periférico", "actionAulario_Pinar", "Aulario Pinar", 9095},
    {"Periférico", "actionBrezal", "Brezal", 9120},
    {"Periférico", "actionBellas_Artes", "Bellas Artes", 9122},
    {"Otras apps", "actionAplicaci_n_superior", "Aplicación superior", 9600},
    {"Otras apps", "actionSeguridad", "Seguridad", 9500},
}};

#endif // SITECATALOGUE_H
