// The checks of tvs-check, one family per unit; each adds what it finds in the
// whole scene tree to the list.
#pragma once

#include <initializer_list>

#include "Authoring/SceneWalk.h"

namespace KUV::Check {

// The checks walk the tree with the authoring tools' shared helpers.
using Authoring::BaseName;
using Authoring::DisplayPath;
using Authoring::ForEachController;
using Authoring::ForEachExecutable;
using Authoring::HasAnimation;
using Authoring::HasVariable;
using Authoring::NameIn;
using Authoring::Quoted;
using Authoring::SceneNode;
using Authoring::SceneTree;
using Authoring::Warning;
using Authoring::WarningList;

// A check of one scene of the tree.
using PerSceneCheck = void (*)(const Tavisk& scene, WarningList& warnings);
// Runs the checks on each scene in turn, scene by scene.
void CheckEachScene(const SceneTree& tree, WarningList& warnings, std::initializer_list<PerSceneCheck> checks);

// Writes into names that are no variable, and variables that nothing writes.
void CheckVariables(const SceneTree& tree, WarningList& warnings);
// Triggers, transition targets, runs stopped by a "null" target, empty windows.
void CheckTiming(const SceneTree& tree, WarningList& warnings);
// Transform-stack balance of render functions, static geometries stroked with variable widths.
void CheckDrawing(const SceneTree& tree, WarningList& warnings);
// Components and animations that nothing uses or that "MainAnim" cannot reach.
void CheckReach(const SceneTree& tree, WarningList& warnings);
// Fonts that fall back to another family, bitmap files missing or undecodable.
void CheckFiles(const SceneTree& tree, WarningList& warnings);

// Runs every check; the warnings come scene by scene (root first), by line within a file.
std::vector<Warning> CheckSceneTree(Tavisk& root);

} // namespace KUV::Check
