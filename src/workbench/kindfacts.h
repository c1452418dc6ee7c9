#pragma once
// What differs between the three kinds of the resource base: their tables and
// column prefixes, the logs, the pages of the maker's service, the field
// template and the captions of the main window. Every window of the workbench
// takes them from here.
#include "core/kind.h"

#include <QString>
#include <QStringList>
#include <array>

namespace qv::workbench {

struct KindFacts {
    core::Kind kind = core::Kind::None;

    // The resources.
    QString table;              // catalogs
    QString prefix;             // catalog_
    QString idColumn;           // catalog_id
    QString nameColumn;         // catalog_name
    QString subjectsColumn;     // catalog_subjects: the rubric list
    bool hasLinkFlags = true;   // need_burl and redirect (not soft)
    bool hasDescription = true; // the note column (not soft)
    bool showsLinkFlags = true; // back-link and link-type texts (catalogs only)

    // Rubrics, user sections and filters.
    QString subjects;            // csubjects
    QString subjectLinks;        // csubjects2catalogs
    QString subjectLinkResource; // s2c_catalog_id
    QString subjectLinkSubject;  // s2c_subject_id
    QString groups;              // cgroups
    QString groupPrefix;         // cgroup_
    QString filters;             // cfilters
    QString filterPrefix;        // cfilter_

    // The registration status log, per resource and project (forums: per
    // forum and press release), and the auto-check log.
    QString statusLog;      // creglog
    QString statusPrefix;   // crl_
    QString statusResource; // crl_catalog_id
    bool statusPerMaterial = false;
    QString checkLog;      // gcreglog
    QString checkPrefix;   // gcrl_
    QString checkResource; // gcrl_catalog_id

    // The materials a form is filled with, and the logins kept per resource
    // and project.
    QString materialTable;  // cmaterials
    QString materialPrefix; // cmaterial_
    QString authTable;      // cauth
    QString authResource;   // cauth_catalog_id
    QString authProject;    // cauth_project_id
    QString loginKey;       // CATALOG_LOGIN_PROGRAM (empty for soft)
    QString passwordKey;    // CATALOG_PASSWORD_PROGRAM (empty for soft)

    // Beside the program and at the maker's service.
    QString fieldTemplate; // catalogs.shbl
    QString updateScript;  // out_catalog.php: the base update
    QString uploadPage;    // /get_catalog.php: a record offered to the shared base

    // Captions.
    QStringList pageCaptions;    // pcMain pages 0..2
    QStringList tabCaptions;     // tcWeb tabs 0, 1, 3
    QString materialNewCaption;  // tbMaterialNew
    QString materialNameCaption; // pnlMaterialName
    QString updateName;          // "каталоги": what the base update's messages call them
};

// The three kinds in the order of the base update: catalogs, forums,
// software archives.
const std::array<KindFacts, 3> &resourceKindFacts();
// The facts of a kind of the resource base; nothing for the contacts and for
// no kind.
const KindFacts *kindFacts(core::Kind kind);

} // namespace qv::workbench
