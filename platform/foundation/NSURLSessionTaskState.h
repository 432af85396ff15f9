#pragma once

// Where a task is in its life, with the platform's numbers.
enum class NSURLSessionTaskState {
    Running = 0,
    Suspended = 1,
    Canceling = 2,
    Completed = 3,
};
