#pragma once

#include "../storage/database.h"

#include <records/catalogue.h>

#include <QDate>
#include <QList>

namespace server::seed {

// The method catalogue to seed: methods in entry order (their sequence IDSEQUMETO is the
// entry number, "01" to "68"), data types, and links in method order.
struct CatalogueRows
{
    QList<records::CatalogueMethod> methods;
    QList<records::CatalogueDataType> dataTypes;
    QList<records::CatalogueLink> links;
};

// The module's own catalogue (68 methods, 52 data types, the 154 links and the links
// of the arm muscle area).
CatalogueRows moduleCatalogue();

// Fills each catalogue table that is empty with the given rows; links whose method and
// data type exist are added when missing whatever the table holds.
void seedCatalogue(storage::Transaction& tx, const CatalogueRows& rows);

// A handful of patients to open: a man, a woman, an elderly man, an adolescent girl, a
// young child and a deceased woman, branch "0001", aged as of today.
struct DemoPatient
{
    QString code;
    QString name;
    QString sexCode;
    QDate birth;
    bool deceased;
};
QList<DemoPatient> demoPatients(const QDate& today);

struct SeedOptions
{
    bool demoPatients = true;
    CatalogueRows catalogue = moduleCatalogue();
};

// Runs the seed steps the database has not had yet, in one transaction, and records them
// (component "seed" of schema_version). Step 1, on the first start: the catalogue and, when
// the registry is empty and demo patients are wanted, the demo patients. Step 2: the
// reference tables of the body mass index family (reference/bmi_references.h) with the
// default references of the two body mass index methods that use tables. Step 3: the arm
// anthropometry family (reference/arm_references.h). Step 4: the ideal weight family
// (reference/ideal_weight_references.h). Step 5: the energy family
// (reference/energy_references.h). Step 6: the body fat family
// (reference/body_fat_references.h). Step 7: the child growth family
// (reference/growth_references.h). Step 8: the nutrient catalogue and the recommended
// nutrient ranges (reference/nutrient_references.h). Answers whether anything ran.
bool seedDatabase(storage::Database& db, const SeedOptions& options);

}  // namespace server::seed
