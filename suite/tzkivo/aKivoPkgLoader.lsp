;;; Loader of the suite. The suite launcher appends two lines to this file on
;;; every run, (setq dpath "<install folder>") and (doPkgpath), so everything
;;; here must be defined before they run; doPkgpath reads dpath when called.

;; Loads every plug-in of the suite from the install folder dpath (those
;; already loaded are left as they are), then the suite's commands.
(defun doPkgpath (/ name loaded)
  (setq loaded (mapcar 'strcase (arx)))
  (foreach name '("Terramod" "Nodex" "Kerfline" "ptgrab" "Slabvol")
    (if (not (member (strcase (strcat name ".so")) loaded))
      (if (not (arxload (strcat dpath name ".so") nil))
        (princ (strcat "\nCould not load " dpath name ".so")))))
  (load (strcat dpath "tzsuite.lsp") nil)
  (princ))
