// The display, video and window options of a current-layout session document.
