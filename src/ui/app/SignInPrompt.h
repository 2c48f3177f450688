#pragma once

class TfrmBase;

// Ride files are imported for the signed-in cyclist: when they come while
// nobody is signed in, the user is told so and chooses who he is. True once
// a cyclist is signed in; false when he declined, or when there is no
// cyclist yet (he is told how to create one).
bool askToSignIn(TfrmBase& window);
