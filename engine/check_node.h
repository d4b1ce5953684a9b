// The run tree: each node names a check, an optional evaluator, and for each
// outcome an optional text and the next node.
#pragma once
#include <memory>
#include <string>

#include "modules/module.h"

class CheckWorker;
struct CheckNode;

// Judges a node's module, adds result items to the worker, and returns the
// outcome that picks the branch. Compared by identity in the stop path.
using Evaluator = bool (*)(CheckWorker& worker, CheckNode& node);

struct CheckNode {
  std::shared_ptr<Diagnostic::Module> module;
  Evaluator evaluator = nullptr;
  std::wstring passText;
  std::shared_ptr<CheckNode> passNext;
  std::wstring failText;
  std::shared_ptr<CheckNode> failNext;
  // For the SIP nodes, which share one evaluator: the title a cancelled node
  // is listed with (see BuildRunTree).
  unsigned cancelledTitleId = 0;
};

// depth(none) = 0; depth(node) = 1 + the larger depth of its two successors.
int Depth(const CheckNode* node);

// Walks the tree from `root` on the calling thread: runs each check, reports
// its frame of lines and the progress, and on a stop lists what would have
// followed as cancelled.
void WalkRunTree(CheckWorker& worker, std::shared_ptr<CheckNode> root);
