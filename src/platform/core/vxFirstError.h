// TFirstError: steps that must all run although one may throw, and the first error passed on
// once they have.
#pragma once

#include <exception>
#include <utility>

namespace vxplan {

// Each Run runs its step and keeps the first exception any step threw; Rethrow, after the last
// step, passes that one on. For work that leaves a model whole only when done to the end, such
// as freeing everything a host handler was told of.
class TFirstError {
public:
    template <class Step>
    void Run(Step&& step)
    {
        try {
            std::forward<Step>(step)();
        } catch (...) {
            if (!error_) error_ = std::current_exception();
        }
    }
    void Rethrow()
    {
        if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
    }

private:
    std::exception_ptr error_;
};

}  // namespace vxplan
