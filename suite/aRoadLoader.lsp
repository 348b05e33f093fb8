;;; Loader of the road product: the section tools of the suite. The road
;;; launcher appends (setq dpath "<install folder>") and (doroadpath) to this
;;; file on every run, so the function is defined first and reads dpath then.

(defun doroadpath (/ name loaded)
  (setq loaded (mapcar 'strcase (arx)))
  (foreach name '("Kerfline" "Slabvol" "ptgrab")
    (if (not (member (strcase (strcat name ".so")) loaded))
      (if (not (arxload (strcat dpath name ".so") nil))
        (princ (strcat "\nCould not load " dpath name ".so")))))
  (princ))
