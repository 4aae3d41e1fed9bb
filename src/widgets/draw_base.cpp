#include "widgets/draw_base.h"

#include "platform/debug.h"

namespace {

// Depth-first search below node (node itself excluded), children in order.
DrawBase* FindBelow(DrawBase* node, const DrawBase* target) {
    for (DrawBase* c : node->children) {
        if (c == nullptr) {
            continue;
        }
        if (c == target) {
            return c;
        }
        if (DrawBase* found = FindBelow(c, target)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

void DrawBase::addChild(DrawBase* child, DrawBase* parent) {
    if (child == nullptr) {
        return;
    }
    DrawBase* target = (parent == nullptr || parent == this) ? this : FindBelow(this, parent);
    if (target == nullptr) {
        return;
    }
    // Hanging a node below itself would make drawTree recurse forever.
    if (child == target || FindBelow(child, target) != nullptr) {
        platform::OutputDebug("DrawBase : addChild would create a cycle; ignored");
        return;
    }
    target->children.push_back(child);
}

void drawTree(DrawBase* node, float dx, float dy, float dz) {
    if (node == nullptr) {
        return;
    }
    node->draw(dx, dy, dz);
    if (node->drawsOwnChildren()) {
        return;
    }
    const float x = dx + node->position.x;
    const float y = dy + node->position.y;
    const float z = dz + node->position.z;
    for (DrawBase* c : node->children) {
        drawTree(c, x, y, z);
    }
}

void drawAll(std::span<DrawBase* const> list, float dx, float dy, float dz) {
    for (DrawBase* node : list) {
        drawTree(node, dx, dy, dz);
    }
}
