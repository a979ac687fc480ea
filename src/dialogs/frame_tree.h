#pragma once
// The frameset wizard's layout without its window: a tree of frames made by
// splitting rectangles, their parameters, and the FRAMESET and FRAME tags
// written from it.

#include <memory>
#include <string>
#include <vector>

namespace xo {

struct TFrm {
    int Level = 0;
    TFrm *Parent = nullptr;
    std::vector<std::unique_ptr<TFrm>> Children; // empty for a frame that is not split
    bool Orientation = false;                    // true: columns side by side; false: rows
    std::string FileName, FrameName, TargetName;
    int Scrolling = 0; // 0 automatic, 1 always, 2 never
    int Size = 0;      // in pixels of a 700 × 450 page
    bool Rest = false; // takes the space its siblings leave ("*")
    int left = 0, top = 0, width = 0, height = 0; // within the parent, in wizard pixels
    int ChildCount() const { return int(Children.size()); }
};

// What a frame's parameters dialog edits.
struct FrameParams {
    std::string fileName, frameName, targetName;
    int scrolling = 0, size = 0;
    bool rest = false;
};

class TFrameTree {
public:
    static constexpr int BaseWidth = 350, BaseHeight = 250, BaseLeft = 20, BaseTop = 20;
    static constexpr int kMaxChildren = 19;

    TFrameTree(); // the base frame "Výchozí rámec"
    TFrm &Base() { return *base_; }

    enum class Result { Ok, TooManyFrames, InternalError };
    // Splits f at (x, y) within it; a frame whose parent already runs the
    // same way gets a new sibling instead.
    Result Split(TFrm &f, int x, int y, bool columns);
    Result NewDivision(TFrm &parent, TFrm &child, int x, int y);
    // Rest on f, cleared on its siblings.
    void SetRest(TFrm &f);
    // The parameters dialog's values into the frame; Rest moves to it from its siblings.
    void Apply(TFrm &f, const FrameParams &p);

    // "Ramec3", the file's bare name, with " *" for Rest.
    static std::string Caption(const TFrm &f);
    std::string FramesetText() const;

private:
    std::unique_ptr<TFrm> newFrame(TFrm &parent);
    void computeSize(TFrm &f) const;
    static void write(const TFrm &f, std::string &out);

    std::unique_ptr<TFrm> base_;
    int counter_ = 0;
};

} // namespace xo
