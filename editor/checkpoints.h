// Checkpoints of the committed state, so undo, redo and the edits of a step
// replay only the steps after the nearest one instead of the whole record.
// A checkpoint is the used part of the mesh, with LastPickedFace, after the
// record's first n steps; it serves while those steps are the record's.
#pragma once

#include <cstddef>

#include "mirl.h"

// At most this many checkpoints, each at most a whole Mesh: 18 x 14,000,008
// bytes, 252 MB, bounds their memory. Only the used part is ever touched.
enum { CheckpointSlots = 18 };

// Estimated replay work (mesh elements summed over steps) between two
// checkpoints; tests lower it to take one at almost every command.
extern double CheckpointSpacing;

// Forgets every checkpoint (a new record: restart, load).
void resetCheckpoints();

// Forgets the checkpoints after record step n: the steps beyond it are
// about to be replaced by a new command.
void dropCheckpointsAfter(int n);

// Called at every command end with the committed mesh, the replay of the
// whole record: keeps a checkpoint of it when the replay since the last one
// has grown costly enough.
void noteCommittedState(const Mesh *m);

// The record was changed at step `step` (an edit or a deletion, or their
// undo): the replay work estimated beyond it is forgotten.
void stepsChangedFrom(int step);

// Rebuilds m as the replay of the whole record. m already holds the replay
// of the first `have` steps (0 or less: m holds nothing usable). Starts from
// the latest checkpoint that is nearer than that and replays the rest.
void replayToEnd(Mesh *m, int have);

// Makes sure a checkpoint of the record's first `step` steps is kept, so
// that replays after a change of step `step` start right there (a live edit
// replays at every mouse motion). Builds it in scratch when there is none;
// scratch is then the replay of those steps.
void keepCheckpointAt(int step, Mesh *scratch);

// Checkpoints held and the bytes of mesh they hold.
int checkpointCount();
size_t checkpointBytes();
