#pragma once
#include <span>
#include <vector>

#include "graphics/sprite_desc.h"

// Every visible thing: a position plus child drawables drawn relative to it. Child lists do not
// own their nodes; drawables live by value inside their owners.
class DrawBase {
public:
    using Vec3 = SpriteVec3;

    DrawBase() = default;
    DrawBase(const DrawBase&) = default;
    DrawBase& operator=(const DrawBase&) = default;
    DrawBase(DrawBase&&) = default;
    DrawBase& operator=(DrawBase&&) = default;
    virtual ~DrawBase() = default;

    // Draws this node alone at its position plus the offset.
    virtual void draw(float dx, float dy, float dz) = 0;
    // True for a node whose draw places its children itself (an animation draws them at the
    // origin, and only while it plays): drawTree then does not draw them again.
    virtual bool drawsOwnChildren() const { return false; }

    // Appends child to this node's children when parent is null or this node; otherwise to the
    // children of the first node equal to parent found depth-first (in child order) below this
    // one. Nothing happens when parent is not in the subtree, when child is null, or when the
    // append would make a node its own descendant (the tree walks would never end).
    void addChild(DrawBase* child, DrawBase* parent = nullptr);

    Vec3 position;                   // pixels, relative to the parent's drawing offset
    std::vector<DrawBase*> children; // drawn after this node, offset by its position
};

// Draws node, then each child's tree offset by node's position, in order (the children are left
// to node when it draws its own).
void drawTree(DrawBase* node, float dx, float dy, float dz);
// drawTree for each node of the list, all with the same offset.
void drawAll(std::span<DrawBase* const> list, float dx, float dy, float dz);
