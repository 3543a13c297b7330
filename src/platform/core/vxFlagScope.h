// Scoped state: a flag set, or a depth counted, for the lifetime of a scope.
#pragma once

namespace vxplan {

// Sets a flag for its lifetime and gives it back its old value at the end, so an error leaving
// the scope restores it too, and a nested scope leaves the outer one's flag set.
class TFlagScope {
public:
    explicit TFlagScope(bool& theFlag) : flag_(theFlag), old_(theFlag) { flag_ = true; }
    ~TFlagScope() { flag_ = old_; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

// Counts one level of a re-entrant operation for its lifetime.
class TDepthScope {
public:
    explicit TDepthScope(int& theDepth) : depth_(theDepth) { ++depth_; }
    ~TDepthScope() { --depth_; }
    TDepthScope(const TDepthScope&) = delete;
    TDepthScope& operator=(const TDepthScope&) = delete;

private:
    int& depth_;
};

}  // namespace vxplan
