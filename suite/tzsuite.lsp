;;; The suite's commands as a menu offers them: each C: command runs the
;;; plug-in's LISP function of the same name.

(defun C:DTMOPEN () (dtmopen) (princ))
(defun C:TRIANGULATE () (triangulate) (princ))
(defun C:CONTOURS () (contours) (princ))
(defun C:RMESH () (rmesh) (princ))
(defun C:SHOWTIN () (showtin) (princ))
(defun C:VOLUMES () (volumes) (princ))
(defun C:TZEXSEC () (tzexsec) (princ))
(defun C:TZSECVOL () (tzsecvol) (princ))
(defun C:EXPRTPNEZD () (exprtpnezd) (princ))
(defun C:EXPRTPENZD () (exprtpenzd) (princ))
(defun C:EXPRTXYZ () (exprtxyz) (princ))
(defun C:EXPRTXML () (exprtxml) (princ))
(defun C:LISTNODE () (listnode) (princ))
(defun C:LISTNODE2 () (listnode2) (princ))

;; Opens a project from its point file without the dialog.
(defun C:LDTMOPEN (/ path)
  (setq path (getfiled "Select Point File" "" "dat" 4))
  (if path (ldtmopen path))
  (princ))

;; Names the project's section files: folder and base name, no extension.
(defun C:TZPROJPATH (/ path)
  (setq path (getstring T (strcat "\nProject path <" (if (eq (type tzprojpath) 'STR) tzprojpath "") ">: ")))
  (if (/= path "") (setq tzprojpath path))
  (princ))
