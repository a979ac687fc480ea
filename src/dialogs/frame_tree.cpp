#include "frame_tree.h"

#include "platform/cp1250.h"

#include <algorithm>

namespace xo {

TFrameTree::TFrameTree() : base_(std::make_unique<TFrm>()) {
    base_->FrameName = cp1250::fromUtf8("Výchozí rámec");
    base_->left = BaseLeft;
    base_->top = BaseTop;
    base_->width = BaseWidth;
    base_->height = BaseHeight;
}

std::unique_ptr<TFrm> TFrameTree::newFrame(TFrm &parent) {
    auto f = std::make_unique<TFrm>();
    f->Level = parent.Level + 1;
    f->Parent = &parent;
    f->FrameName = "Ramec" + std::to_string(++counter_);
    return f;
}

void TFrameTree::computeSize(TFrm &f) const {
    if (f.Level == 0 || !f.Parent) return;
    f.Size = f.Parent->Orientation ? f.width * 700 / BaseWidth : f.height * 450 / BaseHeight;
}

void TFrameTree::SetRest(TFrm &f) {
    if (f.Level > 0 && f.Parent)
        for (auto &sibling : f.Parent->Children) sibling->Rest = false;
    f.Rest = true;
}

void TFrameTree::Apply(TFrm &f, const FrameParams &p) {
    f.FileName = p.fileName;
    f.FrameName = p.frameName;
    f.TargetName = p.targetName;
    f.Scrolling = p.scrolling;
    if (p.rest) {
        SetRest(f); // the frame keeps the size it had
    } else {
        f.Rest = false;
        f.Size = p.size;
    }
}

TFrameTree::Result TFrameTree::Split(TFrm &f, int x, int y, bool columns) {
    if (&f != base_.get() && f.Parent && f.Parent->Orientation == columns) return NewDivision(*f.Parent, f, x, y);
    SetRest(f);
    f.Orientation = columns;
    f.Children.clear();
    auto first = newFrame(f), second = newFrame(f);
    auto place = [](TFrm &c, int left, int top, int width, int height) {
        c.left = left;
        c.top = top;
        c.width = width;
        c.height = height;
    };
    if (columns) {
        place(*first, 0, 0, x, f.height);
        place(*second, x, 0, f.width - x, f.height);
    } else {
        place(*first, 0, 0, f.width, y);
        place(*second, 0, y, f.width, f.height - y);
    }
    computeSize(*first);
    computeSize(*second);
    const int extent = columns ? x : y, rest = columns ? f.width - x : f.height - y;
    first->FileName = f.FileName;
    first->TargetName = second->TargetName = f.TargetName;
    if (&f != base_.get()) {
        first->FrameName = f.FrameName + "_1";
        second->FrameName = f.FrameName + "_2";
    }
    TFrm &larger = extent > rest ? *first : *second;
    f.Children.push_back(std::move(first));
    f.Children.push_back(std::move(second));
    SetRest(larger);
    return Result::Ok;
}

TFrameTree::Result TFrameTree::NewDivision(TFrm &p, TFrm &c, int x, int y) {
    const auto at = std::find_if(p.Children.begin(), p.Children.end(), [&](const auto &f) { return f.get() == &c; });
    if (at == p.Children.end()) return Result::InternalError;
    if (p.ChildCount() > kMaxChildren - 1) return Result::TooManyFrames;
    auto frame = newFrame(p);
    if (p.Orientation) {
        frame->left = c.left + x;
        frame->width = c.width - x;
        frame->height = p.height;
        c.width = x;
    } else {
        frame->top = c.top + y;
        frame->height = c.height - y;
        frame->width = p.width;
        c.height = y;
    }
    computeSize(*frame);
    TFrm &added = *frame;
    p.Children.insert(at + 1, std::move(frame));
    if (&p != base_.get()) added.FrameName = p.FrameName + "_" + std::to_string(p.ChildCount());
    computeSize(c);
    return Result::Ok;
}

std::string TFrameTree::Caption(const TFrm &f) {
    std::string caption = f.FrameName;
    if (caption.empty() && !f.FileName.empty()) {
        const size_t slash = f.FileName.find_last_of("/\\");
        caption = slash == std::string::npos ? f.FileName : f.FileName.substr(slash + 1);
    }
    return f.Rest ? caption + " *" : caption;
}

void TFrameTree::write(const TFrm &f, std::string &out) {
    const std::string indent(size_t(f.Level), ' ');
    out += indent;
    if (f.ChildCount() > 0) {
        out += std::string("<FRAMESET ") + (f.Orientation ? "COL" : "ROW") + "S=\"";
        for (const auto &c : f.Children) out += (c->Rest ? std::string("*") : std::to_string(c->Size)) + ",";
        out.back() = '"';
        out += ">\r\n";
        for (const auto &c : f.Children) write(*c, out);
        out += indent + "</FRAMESET>\r\n";
        return;
    }
    out += "<FRAME src=\"" + f.FileName + "\" name=\"" + f.FrameName + "\"";
    if (!f.TargetName.empty()) out += " target=\"" + f.TargetName + "\"";
    if (f.Scrolling == 1) out += " scrolling=YES";
    if (f.Scrolling == 2) out += " scrolling=NO";
    out += ">\r\n";
}

std::string TFrameTree::FramesetText() const {
    std::string out;
    write(*base_, out);
    return out;
}

} // namespace xo
