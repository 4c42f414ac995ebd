// A named lock shared by all processes of the user: an flock on a lock file.
// The kernel drops the lock when its holder dies, like an abandoned mutex.
#pragma once

struct NamedLock;

// Null when the lock file cannot be opened.
NamedLock* OpenNamedLock(const char* name);
bool TryAcquireNamedLock(NamedLock* lock);
void ReleaseNamedLock(NamedLock* lock);
void CloseNamedLock(NamedLock* lock);
