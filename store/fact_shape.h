// The depth of the fact base: Sections, Topics, Subtopics and Directives are
// the category levels, and every folder below a Directive is a fact. A
// folder's level is its depth below the base root and nothing else.
#pragma once

const int CATEGORY_LEVELS = 4;                 // Section 1, Topic 2, Subtopic 3, Directive 4
const int DIRECTIVE_LEVEL = CATEGORY_LEVELS;   // the level whose folders hold the facts
const int FACT_LEVEL = CATEGORY_LEVELS + 1;    // the fact folders
